#include "storedmerge.h"

#include "initext.h"

#include <algorithm>

namespace {

// The section;key= part of an entry.
std::string_view nameWithEquals(std::string_view entry)
{
    return entry.substr(0, entry.find('=') + 1);
}

} // namespace

StoredMerge::StoredMerge(const std::vector<std::string_view> &fileEntries,
                         const IniPStringList &entries,
                         const std::unordered_set<std::string> &claimed, Room &room)
    : m_room(room)
{
    // Views of both lists: nothing is copied until the lines are made.
    std::vector<std::string_view> &touched = room.touched;
    touched.clear();
    entries.appendTouched(touched);
    std::vector<std::string_view> &merged = room.merged;
    merged.clear();
    // The stored copy of a claimed section goes as a whole. Every stored entry of a touched
    // name goes, duplicates included, so that the value written is the one the file gives
    // back. Both lists are sorted, and so are their names.
    auto next = touched.begin();
    // Few stored entries stay where the store writes everything: each finds its place among
    // the touched ones by a search, and the touched ones in between are taken unread. Equal
    // entries come stored first, as std::merge would give them.
    auto rest = touched.begin();
    std::string_view lastSection;
    bool lastClaimed = claimed.count(std::string()) > 0;
    // Names are compared with their "=": entries are ordered by their whole text, in which a
    // name that begins another ("Posn1", "Posn10") sorts after it ("=" follows the digits).
    // The touched names before a stored one are passed over by a search.
    for (const std::string_view entry : fileEntries) {
        const std::string_view section = IniPStringList::sectionOf(entry);
        if (!IniText::sameText(section, lastSection)) {
            lastSection = section;
            lastClaimed = claimed.count(IniText::upperCase(section)) > 0;
        }
        if (lastClaimed)
            continue;
        const std::string_view name = nameWithEquals(entry);
        next = std::partition_point(next, touched.end(), [name](std::string_view other) {
            return IniText::lessText(nameWithEquals(other), name);
        });
        if (next != touched.end() && IniText::sameText(nameWithEquals(*next), name))
            continue;
        const auto place = std::lower_bound(rest, touched.end(), entry, IniText::lessText);
        merged.insert(merged.end(), rest, place);
        merged.push_back(entry);
        rest = place;
    }
    merged.insert(merged.end(), rest, touched.end());
}
