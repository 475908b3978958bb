#pragma once

#include "inientry.h"

#include <algorithm>
#include <cstddef>
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
    // Inserts the entries, in their order, before `index` (at the end when it is size()).
    void insertRun(int index, std::vector<IniEntry> run);
    void pushBack(IniEntry entry);
    // Removes the entries [first, last).
    void erase(int first, int last);
    void clear();

    // Replaces the whole content (used after sorting in bulk).
    void assign(std::vector<IniEntry> entries);
    std::vector<IniEntry> takeAll();

    // The first index whose entry does not satisfy `before`, for a sequence partitioned by it
    // (all entries satisfying it come first). Each probed entry is passed to `before`.
    template <typename Before>
    int partitionPoint(const Before &before) const;

    // Calls visit(index, entry) from `first` on while it returns true.
    template <typename Visit>
    void visitFrom(int first, const Visit &visit) const;

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

template <typename Before>
int EntryBlocks::partitionPoint(const Before &before) const
{
    std::size_t low = 0;
    std::size_t high = m_blocks.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (before(m_blocks[mid].back()))
            low = mid + 1;
        else
            high = mid;
    }
    if (low == m_blocks.size())
        return m_size;
    const auto &block = m_blocks[low];
    const auto inBlock = std::partition_point(block.begin(), block.end(), before);
    return blockStart(static_cast<int>(low)) + static_cast<int>(inBlock - block.begin());
}

template <typename Visit>
void EntryBlocks::visitFrom(int first, const Visit &visit) const
{
    if (first >= m_size)
        return;
    const Position p = locate(first);
    int index = first;
    int offset = p.offset;
    for (std::size_t b = static_cast<std::size_t>(p.block); b < m_blocks.size(); ++b) {
        const auto &block = m_blocks[b];
        for (std::size_t o = static_cast<std::size_t>(offset); o < block.size(); ++o) {
            if (!visit(index++, block[o]))
                return;
        }
        offset = 0;
    }
}
