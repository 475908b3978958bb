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
            m_blocks.push_back(
                {std::make_unique_for_overwrite<char[]>(text.size()), text.size(), text.size()});
            std::memcpy(m_blocks.back().data.get(), text.data(), text.size());
            return {m_blocks.back().data.get(), text.size()};
        }
        m_blocks.push_back({std::make_unique_for_overwrite<char[]>(blockBytes), blockBytes, 0});
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

TextPool::BlockMarks::BlockMarks(const TextPool &pool) : m_inUse(pool.m_blocks.size(), false)
{
    m_spans.reserve(pool.m_blocks.size());
    for (std::size_t i = 0; i < pool.m_blocks.size(); ++i) {
        const char *start = pool.m_blocks[i].data.get();
        m_spans.push_back({start, start + pool.m_blocks[i].capacity, i});
    }
    std::sort(m_spans.begin(), m_spans.end(),
              [this](const Span &a, const Span &b) { return m_before(a.start, b.start); });
    if (!pool.m_blocks.empty() && pool.m_next)
        m_inUse[pool.m_current] = true;
}

void TextPool::BlockMarks::markBySearch(const char *text)
{
    const auto after = std::upper_bound(
        m_spans.begin(), m_spans.end(), text,
        [this](const char *at, const Span &span) { return m_before(at, span.start); });
    if (after == m_spans.begin() || !m_before(text, std::prev(after)->end))
        return;
    m_last = static_cast<std::size_t>(std::prev(after) - m_spans.begin());
    m_inUse[m_spans[m_last].block] = true;
}

void TextPool::freeUnmarked(const std::vector<bool> &inUse)
{
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
