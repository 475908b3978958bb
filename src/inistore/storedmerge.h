#pragma once

#include "inipstringlist.h"
#include "linebuffer.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A store's touched entries merged into the file's lines as they stand: the file's entries of
// user block 0 that no claimed section and no touched name replaces, and the touched entries,
// all in entry order; apart from them the lines of other user blocks. The merged entries are
// views into the store's entries and into this object: both must stay as they are while the
// views are used.
class StoredMerge
{
public:
    // claimed: the upper-case names of the claimed sections. Throws IniError when a user-block
    // marker of the file is no number.
    StoredMerge(const LineBuffer &fileLines, const IniPStringList &entries,
                const std::unordered_set<std::string> &claimed);
    StoredMerge(const StoredMerge &) = delete;
    StoredMerge &operator=(const StoredMerge &) = delete;

    const std::vector<std::string_view> &merged() const { return m_merged; }
    std::vector<std::string> &otherBlocks() { return m_otherBlocks; }

private:
    void parse(const LineBuffer &fileLines,
               const std::unordered_set<std::string> &claimedSections);
    void merge(const IniPStringList &entries);

    IniPStringList m_stored;
    std::vector<std::string> m_otherBlocks;
    std::vector<std::string_view> m_merged;
};
