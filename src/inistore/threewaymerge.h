#pragma once

#include "inipstringlist.h"
#include "linebuffer.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The merge of a write that finds the file changed by another writer since this store last
// read or wrote it. Base is the content as this store last read or wrote it, theirs what the
// file holds now, mine the touched entries of the store.
//  - A key outside a claimed section: written with its base value, it is no change of this
//    store and theirs wins (a key the other writer deleted stays deleted); any other value
//    wins over theirs.
//  - A claimed section is compared as a whole: unchanged by this store, theirs wins (also
//    when the other writer deleted it); unchanged by the other writer, mine wins; changed by
//    both to different contents, mine wins and the section is a conflict.
//  - A section or key the owner resolved against theirs: mine wins, never a conflict.
//  - Every other entry of theirs stays.
// Values compare as the file gives them back: without trailing blanks and control characters.
class ThreeWayMerge
{
public:
    // base: the entries of user block 0, sorted. Parses theirs; throws IniError on a malformed
    // user-block marker.
    ThreeWayMerge(const std::vector<std::string_view> &base, const LineBuffer &theirsLines);

    // Both hold the same entries as the file gives them back.
    static bool sameContent(const std::vector<std::string_view> &a,
                            const std::vector<std::string_view> &b);

    // resolved holds upper-case section names and section;key names. The result is sorted and
    // views the entries of mine and of this object, so both must outlive it.
    std::vector<std::string_view> merge(const IniPStringList &mine,
                                        const std::vector<std::string> &claimedSections,
                                        const std::unordered_set<std::string> &resolved);

    // The lines of theirs outside user block 0, markers included, in file order.
    std::vector<std::string> takeOtherBlocks() { return std::move(m_otherBlocks); }
    // The claimed sections both writers changed, as this store spells them.
    const std::vector<std::string> &conflicts() const { return m_conflicts; }

private:
    std::vector<std::string_view> sectionOf(const IniPStringList &list, std::string_view section,
                                            bool touchedOnly) const;

    IniPStringList m_base;
    IniPStringList m_theirs;
    std::vector<std::string> m_otherBlocks;
    std::vector<std::string> m_conflicts;
};
