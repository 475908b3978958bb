#include "linebuffer.h"

LineBuffer::LineBuffer(std::initializer_list<std::string_view> lines)
{
    m_ends.reserve(lines.size());
    for (const std::string_view line : lines)
        push_back(line);
}

LineBuffer LineBuffer::of(const LineSource &source)
{
    LineBuffer lines;
    lines.m_ends.reserve(source.size());
    std::string scratch;
    for (std::size_t i = 0; i < source.size(); ++i)
        lines.push_back(source.line(i, scratch));
    return lines;
}

std::string_view LineBuffer::operator[](std::size_t index) const
{
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return {m_text.data() + start, m_ends[index] - start};
}

void LineBuffer::push_back(std::string_view line)
{
    m_text.append(line);
    m_ends.push_back(m_text.size());
}

void LineBuffer::reserve(std::size_t bytes, std::size_t lines)
{
    m_text.reserve(bytes);
    m_ends.reserve(lines);
}

void LineBuffer::append(const LineBuffer &other)
{
    const std::size_t offset = m_text.size();
    m_text.append(other.m_text);
    m_ends.reserve(m_ends.size() + other.m_ends.size());
    for (const std::size_t end : other.m_ends)
        m_ends.push_back(offset + end);
}

void LineBuffer::clear()
{
    m_text.clear();
    m_ends.clear();
}
