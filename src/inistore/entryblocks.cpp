#include "entryblocks.h"

#include <algorithm>
#include <iterator>

namespace {

// Blocks are filled to this size in bulk and split when they grow to twice of it.
constexpr int blockSize = 512;

int lowBit(int i)
{
    return i & -i;
}

} // namespace

const IniEntry &EntryBlocks::at(int index) const
{
    const Position p = locate(index);
    return m_blocks[p.block][p.offset];
}

IniEntry &EntryBlocks::at(int index)
{
    const Position p = locate(index);
    return m_blocks[p.block][p.offset];
}

void EntryBlocks::insert(int index, IniEntry entry)
{
    if (index == m_size) {
        pushBack(std::move(entry));
        return;
    }
    const Position p = locate(index);
    auto &block = m_blocks[p.block];
    block.insert(block.begin() + p.offset, std::move(entry));
    ++m_size;
    addToTree(p.block, 1);
    splitIfFull(p.block);
}

void EntryBlocks::pushBack(IniEntry entry)
{
    if (m_blocks.empty()) {
        m_blocks.emplace_back().reserve(blockSize);
        m_tree.push_back(0);
    }
    const int last = static_cast<int>(m_blocks.size()) - 1;
    m_blocks[last].push_back(std::move(entry));
    ++m_size;
    addToTree(last, 1);
    splitIfFull(last);
}

void EntryBlocks::erase(int first, int last)
{
    while (first < last) {
        const Position p = locate(first);
        auto &block = m_blocks[p.block];
        const int available = static_cast<int>(block.size()) - p.offset;
        const int count = std::min(last - first, available);
        block.erase(block.begin() + p.offset, block.begin() + p.offset + count);
        m_size -= count;
        last -= count;
        if (block.empty()) {
            m_blocks.erase(m_blocks.begin() + p.block);
            rebuildTree();
        } else {
            addToTree(p.block, -count);
        }
    }
}

void EntryBlocks::clear()
{
    m_blocks.clear();
    m_tree.clear();
    m_size = 0;
}

void EntryBlocks::assign(std::vector<IniEntry> entries)
{
    clear();
    for (std::size_t start = 0; start < entries.size(); start += blockSize) {
        const std::size_t end = std::min(entries.size(), start + blockSize);
        auto &block = m_blocks.emplace_back();
        block.reserve(blockSize);
        std::move(entries.begin() + static_cast<std::ptrdiff_t>(start),
                  entries.begin() + static_cast<std::ptrdiff_t>(end), std::back_inserter(block));
    }
    m_size = static_cast<int>(entries.size());
    rebuildTree();
}

std::vector<IniEntry> EntryBlocks::takeAll()
{
    std::vector<IniEntry> all;
    all.reserve(static_cast<std::size_t>(m_size));
    for (auto &block : m_blocks)
        std::move(block.begin(), block.end(), std::back_inserter(all));
    clear();
    return all;
}

int EntryBlocks::partitionPoint(const std::function<bool(const IniEntry &)> &before) const
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

void EntryBlocks::visitFrom(int first,
                            const std::function<bool(int, const IniEntry &)> &visit) const
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

EntryBlocks::Position EntryBlocks::locate(int index) const
{
    const int blocks = static_cast<int>(m_tree.size());
    int step = 1;
    while (step * 2 <= blocks)
        step *= 2;
    int node = 0;
    int remaining = index;
    for (; step > 0; step /= 2) {
        if (node + step <= blocks && m_tree[node + step - 1] <= remaining) {
            node += step;
            remaining -= m_tree[node - 1];
        }
    }
    return {node, remaining};
}

int EntryBlocks::blockStart(int block) const
{
    int sum = 0;
    for (int node = block; node > 0; node -= lowBit(node))
        sum += m_tree[node - 1];
    return sum;
}

void EntryBlocks::addToTree(int block, int delta)
{
    const int blocks = static_cast<int>(m_tree.size());
    for (int node = block + 1; node <= blocks; node += lowBit(node))
        m_tree[node - 1] += delta;
}

void EntryBlocks::rebuildTree()
{
    const int blocks = static_cast<int>(m_blocks.size());
    m_tree.assign(m_blocks.size(), 0);
    for (int node = 1; node <= blocks; ++node) {
        m_tree[node - 1] += static_cast<int>(m_blocks[node - 1].size());
        const int parent = node + lowBit(node);
        if (parent <= blocks)
            m_tree[parent - 1] += m_tree[node - 1];
    }
}

void EntryBlocks::splitIfFull(int block)
{
    auto &full = m_blocks[block];
    if (static_cast<int>(full.size()) < 2 * blockSize)
        return;
    std::vector<IniEntry> upper;
    upper.reserve(2 * blockSize);
    std::move(full.begin() + blockSize, full.end(), std::back_inserter(upper));
    full.erase(full.begin() + blockSize, full.end());
    m_blocks.insert(m_blocks.begin() + block + 1, std::move(upper));
    rebuildTree();
}
