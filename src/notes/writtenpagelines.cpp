#include "writtenpagelines.h"

bool WrittenPageLines::holds(int index, const QStringList &lines, std::uint64_t generation) const
{
    // Lines the page still shares with the write compare without looking at the text.
    return generation == m_generation && index < m_lines.size() && m_lines[index] &&
           *m_lines[index] == lines;
}

void WrittenPageLines::remember(int index, const QStringList &lines, std::uint64_t generation)
{
    if (generation != m_generation) {
        m_lines.clear();
        m_generation = generation;
    }
    if (index >= m_lines.size())
        m_lines.resize(index + 1);
    m_lines[index] = lines;
}

void WrittenPageLines::keepFirst(int count)
{
    if (count < m_lines.size())
        m_lines.resize(count);
}
