#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Texts kept one after another in large blocks, each where it was put until the pool is cleared
// or dropped: a million short texts cost their bytes, not a million allocations. A text is never
// changed or freed on its own; a text no longer wanted stays until the owner gathers the ones it
// still wants into a new pool.
class TextPool
{
public:
    TextPool() = default;
    TextPool(TextPool &&) noexcept = default;
    TextPool &operator=(TextPool &&) noexcept = default;
    TextPool(const TextPool &) = delete;
    TextPool &operator=(const TextPool &) = delete;

    // A copy of text in the pool.
    std::string_view add(std::string_view text);
    // The bytes of every text added since the last clear.
    std::size_t bytes() const { return m_bytes; }
    void clear();

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_bytes = 0;
};
