#pragma once

#include <cstddef>
#include <string>

// Lines handed out one at a time, so that whoever writes them need not hold them all at once.
class LineSource
{
public:
    virtual ~LineSource() = default;

    virtual std::size_t size() const = 0;
    // Appends the bytes of line `index`, without a line break, to text. Safe to call from
    // several threads at once.
    virtual void appendLine(std::size_t index, std::string &text) const = 0;
};
