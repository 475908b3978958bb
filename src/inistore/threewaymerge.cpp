#include "threewaymerge.h"

#include "inilineparser.h"
#include "initext.h"

#include <algorithm>

namespace {

std::string_view nameOf(std::string_view entry)
{
    return entry.substr(0, entry.find('='));
}

// The value as reading the written line gives it back: its trailing blanks and control
// characters are lost with the line's trim.
std::string_view storedValue(std::string_view entry)
{
    std::string_view value = entry.substr(entry.find('=') + 1);
    while (!value.empty() && static_cast<unsigned char>(value.back()) <= ' ')
        value.remove_suffix(1);
    return value;
}

bool sameEntry(std::string_view a, std::string_view b)
{
    return IniText::sameText(nameOf(a), nameOf(b)) && storedValue(a) == storedValue(b);
}

} // namespace

ThreeWayMerge::ThreeWayMerge(const std::vector<std::string_view> &base,
                             const LineBuffer &theirsLines)
{
    // Sorted insertion of sorted entries appends.
    for (const std::string_view entry : base)
        m_base.add(entry);
    IniLineParser::parseAll(theirsLines, m_theirs, m_otherBlocks);
}

bool ThreeWayMerge::sameContent(const std::vector<std::string_view> &a,
                                const std::vector<std::string_view> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameEntry);
}

std::vector<std::string_view> ThreeWayMerge::merge(const IniPStringList &mine,
                                                   const std::vector<std::string> &claimedSections,
                                                   const std::unordered_set<std::string> &resolved)
{
    m_conflicts.clear();
    std::unordered_set<std::string> claimed;
    for (const std::string &section : claimedSections)
        claimed.insert(IniText::upperCase(section));
    const auto isResolved = [&resolved](std::string_view name) {
        return !resolved.empty() && resolved.count(IniText::upperCase(name)) > 0;
    };

    // Entries come in runs of one section: the last answer is kept.
    std::string lastSection;
    bool lastClaimed = false;
    const auto isClaimed = [&](std::string_view section) {
        if (lastSection.empty() || !IniText::sameText(section, lastSection)) {
            lastSection = section;
            lastClaimed = claimed.count(IniText::upperCase(section)) > 0;
        }
        return lastClaimed;
    };

    std::vector<std::string_view> merged;
    std::unordered_set<std::string> mineWins;
    for (int i = 0; i < mine.count(); ++i) {
        if (!mine.isTouched(i))
            continue;
        const std::string_view entry = mine.at(i);
        const std::string_view section = IniPStringList::sectionOf(entry);
        if (isClaimed(section))
            continue;
        const std::string_view name = nameOf(entry);
        if (!isResolved(section) && !isResolved(name)) {
            const int base = m_base.indexOfName(name);
            if (base >= 0 && storedValue(m_base.at(base)) == storedValue(entry))
                continue;
        }
        merged.push_back(entry);
        mineWins.insert(IniText::upperCase(name));
    }

    for (const std::string &section : claimedSections) {
        const auto mineSection = sectionOf(mine, section, true);
        const auto theirsSection = sectionOf(m_theirs, section, false);
        bool mineStays = true;
        if (!isResolved(section)) {
            const auto baseSection = sectionOf(m_base, section, false);
            if (sameContent(mineSection, baseSection))
                mineStays = false;
            else if (!sameContent(theirsSection, baseSection) &&
                     !sameContent(mineSection, theirsSection))
                m_conflicts.push_back(section);
        }
        const auto &kept = mineStays ? mineSection : theirsSection;
        merged.insert(merged.end(), kept.begin(), kept.end());
    }

    lastSection.clear();
    for (int i = 0; i < m_theirs.count(); ++i) {
        const std::string_view entry = m_theirs.at(i);
        if (!isClaimed(IniPStringList::sectionOf(entry)) &&
            (mineWins.empty() || mineWins.count(IniText::upperCase(nameOf(entry))) == 0))
            merged.push_back(entry);
    }
    std::sort(merged.begin(), merged.end(), IniText::lessText);
    return merged;
}

std::vector<std::string_view> ThreeWayMerge::sectionOf(const IniPStringList &list,
                                                       std::string_view section,
                                                       bool touchedOnly) const
{
    std::vector<std::string_view> entries;
    for (int i = list.indexOfSectRef(section); i >= 0 && i < list.count(); ++i) {
        const std::string_view entry = list.at(i);
        if (!IniText::sameText(IniPStringList::sectionOf(entry), section))
            break;
        if (!touchedOnly || list.isTouched(i))
            entries.push_back(entry);
    }
    return entries;
}
