#include "storedmerge.h"

#include "inilineparser.h"
#include "initext.h"

#include <algorithm>

namespace {

// The section;key= part of an entry.
std::string_view nameWithEquals(std::string_view entry)
{
    return entry.substr(0, entry.find('=') + 1);
}

} // namespace

StoredMerge::StoredMerge(const LineBuffer &fileLines, const IniPStringList &entries,
                         const std::unordered_set<std::string> &claimed)
{
    parse(fileLines, claimed);
    merge(entries);
}

void StoredMerge::parse(const LineBuffer &fileLines,
                        const std::unordered_set<std::string> &claimedSections)
{
    IniLineParser parser;
    std::vector<IniEntry> storedEntries;
    // The stored copy of a claimed section goes as a whole: its key lines are passed over
    // unparsed (only a line beginning with "[" can change the section or the user block).
    const auto isClaimed = [&claimedSections](std::string_view name) {
        return claimedSections.count(IniText::upperCase(name)) > 0;
    };
    std::string section;
    bool claimed = isClaimed(section);
    for (const std::string_view line : fileLines) {
        if (claimed && parser.userBlock() == 0 && !IniText::trim(line).starts_with('['))
            continue;
        auto result = parser.parse(line);
        if (!result.inBlockZero)
            m_otherBlocks.emplace_back(line);
        else if (result.entry)
            storedEntries.push_back({std::move(*result.entry), false});
        if (parser.section() != section) {
            section = parser.section();
            claimed = isClaimed(section);
        }
    }
    m_stored.assign(std::move(storedEntries));
}

void StoredMerge::merge(const IniPStringList &entries)
{
    // Views of both lists: nothing is copied until the lines are made.
    std::vector<std::string_view> touched;
    touched.reserve(static_cast<std::size_t>(entries.count()));
    entries.appendTouched(touched);
    // Every stored entry of a touched name goes, duplicates included, so that the value
    // written is the one the file gives back. Both lists are sorted, and so are their names.
    std::vector<std::string_view> untouched;
    untouched.reserve(static_cast<std::size_t>(m_stored.count()));
    auto next = touched.begin();
    // Names are compared with their "=": entries are ordered by their whole text, in which a
    // name that begins another ("Posn1", "Posn10") sorts after it ("=" follows the digits).
    // The touched names before a stored one are passed over by a search.
    for (int i = 0; i < m_stored.count(); ++i) {
        const std::string_view name = nameWithEquals(m_stored.at(i));
        next = std::partition_point(next, touched.end(), [name](std::string_view entry) {
            return IniText::lessText(nameWithEquals(entry), name);
        });
        if (next == touched.end() || !IniText::sameText(nameWithEquals(*next), name))
            untouched.push_back(m_stored.at(i));
    }
    // Few entries are left untouched where the store writes everything: each finds its place
    // among the touched ones by a search, and the touched ones in between are taken unread.
    // Equal entries come untouched first, as std::merge would give them.
    m_merged.reserve(untouched.size() + touched.size());
    auto rest = touched.begin();
    for (const std::string_view entry : untouched) {
        const auto place = std::lower_bound(rest, touched.end(), entry, IniText::lessText);
        m_merged.insert(m_merged.end(), rest, place);
        m_merged.push_back(entry);
        rest = place;
    }
    m_merged.insert(m_merged.end(), rest, touched.end());
}
