#pragma once

#include "inientry.h"

#include <functional>
#include <vector>

// The storage behind PStringList: a sequence of entries kept in blocks of bounded size, with
// a Fenwick tree over the block sizes. Access by index, insertion and removal cost
// O(log n + block size), so a list of a million entries built in any order stays fast.
class EntryBlocks
{
public:
    int size() const { return m_size; }
    const IniEntry &at(int index) const;
    IniEntry &at(int index);

    void insert(int index, IniEntry entry);
    void pushBack(IniEntry entry);
    // Removes the entries [first, last).
    void erase(int first, int last);
    void clear();

    // Replaces the whole content (used after sorting in bulk).
    void assign(std::vector<IniEntry> entries);
    std::vector<IniEntry> takeAll();

    // The first index whose entry does not satisfy `before`, for a sequence partitioned by it
    // (all entries satisfying it come first). Each probed entry is passed to `before`.
    int partitionPoint(const std::function<bool(const IniEntry &)> &before) const;

    // Calls visit(index, entry) from `first` on while it returns true.
    void visitFrom(int first, const std::function<bool(int, const IniEntry &)> &visit) const;

private:
    struct Position
    {
        int block;
        int offset;
    };

    Position locate(int index) const;
    int blockStart(int block) const;
    void addToTree(int block, int delta);
    void rebuildTree();
    void splitIfFull(int block);
    // Puts an empty block after `block`; returns the position of its start.
    Position startBlockAfter(int block);
    // Moves the entries from `at` on into a new block after it; returns `at`.
    Position splitAt(Position at);

    std::vector<std::vector<IniEntry>> m_blocks;
    std::vector<int> m_tree;
    int m_size = 0;
    // The block found last and the index of its first entry, so that walks in order need
    // no search; -1 when unknown.
    mutable int m_cachedBlock = -1;
    mutable int m_cachedStart = 0;
    int m_lastInsert = -2;
};
