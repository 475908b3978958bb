#include "textpool.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {
// Small enough to come from the heap, whose freed memory serves again at once: fresh memory
// costs more than the texts' copying.
constexpr std::size_t blockBytes = 64 * 1024;
} // namespace

std::string_view TextPool::add(std::string_view text)
{
    if (text.empty())
        return {};
    m_bytes += text.size();
    if (text.size() > m_left) {
        // A text too large for a block gets one of its own; what is left of the current block
        // stays for the texts after it.
        if (text.size() > blockBytes / 4) {
            m_blocks.push_back({std::make_unique_for_overwrite<char[]>(text.size()), text.size()});
            std::memcpy(m_blocks.back().data.get(), text.data(), text.size());
            return {m_blocks.back().data.get(), text.size()};
        }
        m_blocks.push_back({std::make_unique_for_overwrite<char[]>(blockBytes), 0});
        m_current = m_blocks.size() - 1;
        m_next = m_blocks.back().data.get();
        m_left = blockBytes;
    }
    std::memcpy(m_next, text.data(), text.size());
    const std::string_view kept(m_next, text.size());
    m_next += text.size();
    m_left -= text.size();
    m_blocks[m_current].used += text.size();
    return kept;
}

void TextPool::freeBlocksNotUsed(const std::vector<const char *> &used)
{
    // The blocks by address, each with whether a used text lies in it.
    std::vector<std::pair<const char *, std::size_t>> starts;
    starts.reserve(m_blocks.size());
    for (std::size_t i = 0; i < m_blocks.size(); ++i)
        starts.emplace_back(m_blocks[i].data.get(), i);
    std::sort(starts.begin(), starts.end());
    std::vector<bool> inUse(m_blocks.size(), false);
    if (!m_blocks.empty() && m_next)
        inUse[m_current] = true;
    for (const char *text : used) {
        auto after = std::upper_bound(starts.begin(), starts.end(), text,
                                      [](const char *at, const auto &start) {
                                          return std::less<const char *>()(at, start.first);
                                      });
        if (after != starts.begin())
            inUse[std::prev(after)->second] = true;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (!inUse[i]) {
            m_bytes -= m_blocks[i].used;
            continue;
        }
        if (i == m_current)
            m_current = kept;
        m_blocks[kept++] = std::move(m_blocks[i]);
    }
    m_blocks.resize(kept);
}

void TextPool::clear()
{
    m_blocks.clear();
    m_next = nullptr;
    m_left = 0;
    m_current = 0;
    m_bytes = 0;
}
