#include "writtenpagelines.h"

bool WrittenPageLines::holds(int index, const StoredPage &page, std::uint64_t generation) const
{
    if (generation != m_generation || index >= m_pages.size() || !m_pages[index])
        return false;
    const Written &written = *m_pages[index];
    // Stored lines are never changed, and a page's text is theirs while it holds them: the same
    // ones hold the same text, whatever the page's stamp.
    if (written.byStoredLines && page.record.storedLines && !page.textLines)
        return written.storedLines.lock() == page.record.storedLines;
    if (page.textStamp != 0)
        return written.textStamp == page.textStamp;
    if (written.textStamp != 0 || written.byStoredLines || page.record.storedLines)
        return false;
    // Lines the page still shares with the write compare without looking at the text.
    return written.lines == page.record.lines;
}

void WrittenPageLines::remember(int index, const StoredPage &page, std::uint64_t generation)
{
    if (generation != m_generation) {
        m_pages.clear();
        m_generation = generation;
    }
    if (index >= m_pages.size())
        m_pages.resize(index + 1);
    if (page.textStamp != 0)
        m_pages[index] = Written{{}, {}, false, page.textStamp};
    else
        m_pages[index] = Written{page.record.lines, page.record.storedLines,
                                 page.record.storedLines != nullptr, 0};
}

void WrittenPageLines::keepFirst(int count)
{
    if (count < m_pages.size())
        m_pages.resize(count);
}
