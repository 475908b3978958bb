#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// Texts kept one after another in large blocks, each where it was put until its block is freed,
// the pool cleared or dropped: a million short texts cost their bytes, not a million
// allocations. A text is never changed or freed on its own; the owner frees the blocks none of
// its texts lie in, or gathers the texts it still wants into a new pool.
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
    // The bytes of the texts in the blocks the pool holds.
    std::size_t bytes() const { return m_bytes; }
    // Frees every block, but the one texts are added to, that holds none of the texts
    // visitUsed(use) hands to use(const char *) (views of texts of this pool, in any order).
    template <typename VisitUsed>
    void freeBlocksNotUsed(const VisitUsed &visitUsed)
    {
        BlockMarks marks(*this);
        visitUsed([&marks](const char *text) { marks.mark(text); });
        freeUnmarked(marks.inUse());
    }
    void clear();

private:
    // Which blocks hold a text. Texts put in one after another lie in the same block: the
    // block of the text before is tried first, so that a search is the exception.
    class BlockMarks
    {
    public:
        explicit BlockMarks(const TextPool &pool);
        void mark(const char *text)
        {
            if (m_spans.empty())
                return;
            const Span &last = m_spans[m_last];
            if (!m_before(text, last.start) && m_before(text, last.end)) {
                m_inUse[last.block] = true;
                return;
            }
            markBySearch(text);
        }
        const std::vector<bool> &inUse() const { return m_inUse; }

    private:
        struct Span
        {
            const char *start;
            const char *end;
            std::size_t block;
        };
        void markBySearch(const char *text);

        std::less<const char *> m_before;
        // The blocks by address.
        std::vector<Span> m_spans;
        std::size_t m_last = 0;
        std::vector<bool> m_inUse;
    };

    struct Block
    {
        std::unique_ptr<char[]> data;
        std::size_t capacity = 0;
        // The bytes of its texts.
        std::size_t used = 0;
    };

    void freeUnmarked(const std::vector<bool> &inUse);

    std::vector<Block> m_blocks;
    // Where the next text goes, in the last block but for a text that has a block of its own.
    char *m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_current = 0;
    std::size_t m_bytes = 0;
};
