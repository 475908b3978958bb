#pragma once

#include "linesource.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Lines of text held one after another in one buffer, each found by where it ends: a file of a
// million lines is one block of memory and one of offsets, not a million strings. Lines are
// views of the buffer, valid until the next change.
class LineBuffer : public LineSource
{
public:
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const LineBuffer *lines, std::size_t index) : m_lines(lines), m_index(index)
        {
        }
        std::string_view operator*() const { return (*m_lines)[m_index]; }
        const_iterator &operator++()
        {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int)
        {
            const const_iterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const const_iterator &other) const { return m_index == other.m_index; }

    private:
        const LineBuffer *m_lines = nullptr;
        std::size_t m_index = 0;
    };

    LineBuffer() = default;
    LineBuffer(std::initializer_list<std::string_view> lines);
    // Every line of source.
    static LineBuffer of(const LineSource &source);

    std::size_t size() const override { return m_ends.size(); }
    std::string_view line(std::size_t index, std::string &) const override
    {
        return (*this)[index];
    }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t index) const;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void push_back(std::string_view line);
    // Appends a line made by make(text), which appends the line's bytes to the buffer's text.
    template <typename Make>
    void addLine(const Make &make)
    {
        make(m_text);
        m_ends.push_back(m_text.size());
    }
    // Makes room for lines of `bytes` bytes in all, `lines` of them, before they come.
    void reserve(std::size_t bytes, std::size_t lines);
    // Appends every line of other.
    void append(const LineBuffer &other);
    // Removes every line; the memory stays for the next lines.
    void clear();

    friend bool operator==(const LineBuffer &a, const LineBuffer &b)
    {
        return a.m_ends == b.m_ends && a.m_text == b.m_text;
    }

private:
    std::string m_text;
    std::vector<std::size_t> m_ends;
};

// Takes lines handed over in pieces, one after another in their order.
using LinePieceTaker = std::function<void(const LineBuffer &lines)>;
