#pragma once

#include "inipstringlist.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A store's touched entries merged into the entries the file holds as they stand (user block 0):
// the file's entries that no claimed section and no touched name replaces, and the touched
// entries, all in entry order. The merged entries are views of the texts of both lists, which
// must stay as they are while the views are used.
class StoredMerge
{
public:
    // fileEntries: sorted. claimed: the upper-case names of the claimed sections.
    StoredMerge(const std::vector<std::string_view> &fileEntries, const IniPStringList &entries,
                const std::unordered_set<std::string> &claimed);
    StoredMerge(const StoredMerge &) = delete;
    StoredMerge &operator=(const StoredMerge &) = delete;

    const std::vector<std::string_view> &merged() const { return m_merged; }

private:
    std::vector<std::string_view> m_merged;
};
