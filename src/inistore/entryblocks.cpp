#include "entryblocks.h"

#include <algorithm>
#include <iterator>

namespace {

// Blocks are filled to this size in bulk and split when they grow to twice of it.
constexpr int blockSize = 512;
// A run of insertions splits its block when at least this many entries lie on either side,
// so that no block is made smaller than this.
constexpr int runSplitSize = 64;

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
    Position p = locate(index);
    if (p.offset == 0 && p.block > 0)
        p = {p.block - 1, static_cast<int>(m_blocks[p.block - 1].size())};
    // A run of insertions at one place (a list written line by line) would move the rest of
    // a block at every step: the rest goes to a block of its own once, and the run then
    // appends to the end of a block.
    const bool run = index == m_lastInsert + 1;
    m_lastInsert = index;
    const int blockEntries = static_cast<int>(m_blocks[p.block].size());
    if (run && p.offset >= runSplitSize && blockEntries - p.offset >= runSplitSize)
        p = splitAt(p);
    // A run that has filled its block goes on in a new one rather than moving half of it.
    else if (run && p.offset == blockEntries && blockEntries >= blockSize)
        p = startBlockAfter(p.block);
    auto &block = m_blocks[p.block];
    block.insert(block.begin() + p.offset, std::move(entry));
    ++m_size;
    addToTree(p.block, 1);
    if (p.block < m_cachedBlock)
        ++m_cachedStart;
    splitIfFull(p.block);
}

void EntryBlocks::insertRun(int index, std::vector<IniEntry> run)
{
    if (run.empty())
        return;
    if (m_blocks.empty()) {
        assign(std::move(run));
        return;
    }
    // The run goes after the entries before `index` in their block (at the end of the block
    // before, when `index` begins one); the entries after it in that block follow the run.
    Position p = index == m_size ? Position{static_cast<int>(m_blocks.size()) - 1,
                                            static_cast<int>(m_blocks.back().size())}
                                 : locate(index);
    if (p.offset == 0 && p.block > 0)
        p = {p.block - 1, static_cast<int>(m_blocks[p.block - 1].size())};
    auto &block = m_blocks[p.block];
    std::vector<IniEntry> after;
    std::move(block.begin() + p.offset, block.end(), std::back_inserter(after));
    block.erase(block.begin() + p.offset, block.end());
    m_size += static_cast<int>(run.size());

    // Blocks are filled to their bulk size: the block of `index` first, then new ones.
    auto next = run.begin();
    const auto fill = [&next, &run](std::vector<IniEntry> &into) {
        const auto room =
            static_cast<std::ptrdiff_t>(std::max(0, blockSize - static_cast<int>(into.size())));
        const auto end = run.end() - next > room ? next + room : run.end();
        std::move(next, end, std::back_inserter(into));
        next = end;
    };
    fill(block);
    std::vector<std::vector<IniEntry>> added;
    while (next != run.end()) {
        auto &fresh = added.emplace_back();
        fresh.reserve(blockSize);
        fill(fresh);
    }
    // The entries after the run join its last block while it stays below twice the bulk size.
    std::vector<IniEntry> &last = added.empty() ? block : added.back();
    if (last.size() + after.size() < 2 * static_cast<std::size_t>(blockSize))
        std::move(after.begin(), after.end(), std::back_inserter(last));
    else if (!after.empty())
        added.push_back(std::move(after));
    m_blocks.insert(m_blocks.begin() + p.block + 1, std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    m_lastInsert = -2;
    rebuildTree();
}

void EntryBlocks::pushBack(IniEntry entry)
{
    m_lastInsert = m_size;
    // Appending fills blocks to their bulk size and then starts a new one.
    if (m_blocks.empty() || static_cast<int>(m_blocks.back().size()) >= blockSize) {
        m_blocks.emplace_back().reserve(blockSize);
        rebuildTree();
    }
    const int last = static_cast<int>(m_blocks.size()) - 1;
    m_blocks[last].push_back(std::move(entry));
    ++m_size;
    addToTree(last, 1);
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
            if (p.block < m_cachedBlock)
                m_cachedStart -= count;
        }
    }
}

void EntryBlocks::clear()
{
    m_blocks.clear();
    m_tree.clear();
    m_size = 0;
    m_cachedBlock = -1;
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

EntryBlocks::Position EntryBlocks::locate(int index) const
{
    if (m_cachedBlock >= 0) {
        const int cachedEnd = m_cachedStart + static_cast<int>(m_blocks[m_cachedBlock].size());
        if (index >= m_cachedStart && index < cachedEnd)
            return {m_cachedBlock, index - m_cachedStart};
        const int next = m_cachedBlock + 1;
        if (index >= cachedEnd && next < static_cast<int>(m_blocks.size()) &&
            index < cachedEnd + static_cast<int>(m_blocks[next].size())) {
            m_cachedBlock = next;
            m_cachedStart = cachedEnd;
            return {next, index - cachedEnd};
        }
    }
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
    if (node < blocks) {
        m_cachedBlock = node;
        m_cachedStart = index - remaining;
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
    m_cachedBlock = -1;
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
    if (static_cast<int>(m_blocks[block].size()) >= 2 * blockSize)
        splitAt({block, blockSize});
}

EntryBlocks::Position EntryBlocks::startBlockAfter(int block)
{
    std::vector<IniEntry> empty;
    empty.reserve(blockSize);
    m_blocks.insert(m_blocks.begin() + block + 1, std::move(empty));
    rebuildTree();
    return {block + 1, 0};
}

EntryBlocks::Position EntryBlocks::splitAt(Position at)
{
    auto &lower = m_blocks[at.block];
    std::vector<IniEntry> upper;
    upper.reserve(2 * blockSize);
    std::move(lower.begin() + at.offset, lower.end(), std::back_inserter(upper));
    lower.erase(lower.begin() + at.offset, lower.end());
    m_blocks.insert(m_blocks.begin() + at.block + 1, std::move(upper));
    rebuildTree();
    return at;
}
