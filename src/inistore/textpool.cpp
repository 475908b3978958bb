#include "textpool.h"

#include <algorithm>
#include <cstring>

namespace {
// Small enough to come from the heap, whose freed memory serves again at once: fresh memory
// costs more than the texts' copying.
constexpr std::size_t blockBytes = 64 * 1024;
} // namespace

std::string_view TextPool::add(std::string_view text)
{
    m_bytes += text.size();
    if (text.empty())
        return {};
    if (text.size() > m_left) {
        // A text too large for a block gets one of its own; what is left of the current block
        // stays for the texts after it.
        if (text.size() > blockBytes / 4) {
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
            std::memcpy(m_blocks.back().get(), text.data(), text.size());
            return {m_blocks.back().get(), text.size()};
        }
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(blockBytes));
        m_next = m_blocks.back().get();
        m_left = blockBytes;
    }
    std::memcpy(m_next, text.data(), text.size());
    const std::string_view kept(m_next, text.size());
    m_next += text.size();
    m_left -= text.size();
    return kept;
}

void TextPool::clear()
{
    m_blocks.clear();
    m_next = nullptr;
    m_left = 0;
    m_bytes = 0;
}
