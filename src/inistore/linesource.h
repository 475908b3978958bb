#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Lines handed out one at a time, so that whoever writes them need not hold them all at once.
class LineSource
{
public:
    virtual ~LineSource() = default;

    virtual std::size_t size() const = 0;
    // The bytes of line `index`, without a line break: a view of this source's own text where
    // the line lies there as it stands, else of scratch, which the line is made in. Valid while
    // the source and scratch stay as they are. Safe to call from several threads at once, each
    // with its own scratch.
    virtual std::string_view line(std::size_t index, std::string &scratch) const = 0;
};
