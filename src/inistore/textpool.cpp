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

void TextPool::freeBlocksNotUsed(const std::vector<const char *> &used)
{
    // The blocks by address. Texts put in one after another lie in the same block: the block
    // of the text before is tried first, so that a search is the exception.
    struct Span
    {
        const char *start;
        const char *end;
        std::size_t block;
    };
    const std::less<const char *> before;
    std::vector<Span> spans;
    spans.reserve(m_blocks.size());
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const char *start = m_blocks[i].data.get();
        spans.push_back({start, start + m_blocks[i].capacity, i});
    }
    std::sort(spans.begin(), spans.end(),
              [&before](const Span &a, const Span &b) { return before(a.start, b.start); });
    const auto holds = [&before](const Span &span, const char *text) {
        return !before(text, span.start) && before(text, span.end);
    };
    std::vector<bool> inUse(m_blocks.size(), false);
    if (!m_blocks.empty() && m_next)
        inUse[m_current] = true;
    std::size_t last = 0;
    for (const char *text : used) {
        if (spans.empty())
            break;
        if (!holds(spans[last], text)) {
            const auto after = std::upper_bound(
                spans.begin(), spans.end(), text,
                [&before](const char *at, const Span &span) { return before(at, span.start); });
            if (after == spans.begin() || !holds(*std::prev(after), text))
                continue;
            last = static_cast<std::size_t>(std::prev(after) - spans.begin());
        }
        inUse[spans[last].block] = true;
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
