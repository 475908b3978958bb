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
    // The memory merges work in, kept from one to the next: a large store's merge then takes no
    // fresh memory, which costs more than the merge itself.
    struct Room
    {
        std::vector<std::string_view> touched;
        std::vector<std::string_view> merged;
    };

    // fileEntries: sorted. claimed: the upper-case names of the claimed sections.
    StoredMerge(const std::vector<std::string_view> &fileEntries, const IniPStringList &entries,
                const std::unordered_set<std::string> &claimed, Room &room);
    StoredMerge(const StoredMerge &) = delete;
    StoredMerge &operator=(const StoredMerge &) = delete;

    // Held in the room until the next merge in it.
    const std::vector<std::string_view> &merged() const { return m_room.merged; }

private:
    Room &m_room;
};
