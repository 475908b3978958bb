#pragma once

#include "linesource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bytes of lines as a file holds them: each line followed by CR LF and, given a first key,
// enciphered with that key and the ones after it in turn. They are made piece by piece into a
// few buffers that serve again, so that a large file's content is never whole in memory (fresh
// memory for 15 MB costs more than enciphering it). Each line's bytes depend only on the line
// and its key: from sideBySideLines on, a second thread makes every other piece while
// the caller takes the ones before them.
class LinePieces
{
public:
    static constexpr std::size_t sideBySideLines = 10000;

    LinePieces(const LineSource &lines, std::optional<std::uint32_t> firstKey);

    // Hands every piece to take, in order.
    void forEach(const std::function<void(std::string_view)> &take) const;

private:
    // The pieces the second thread may have made ahead of the caller.
    static constexpr std::size_t slotCount = 4;

    // The memory a piece is made in, grown as needed and never shrunk.
    struct Buffers
    {
        std::string bytes;
        // Where a line that is not in the source as it stands is made.
        std::string line;
    };

    // Makes the piece's bytes in buffers; returns them.
    std::string_view make(std::size_t piece, Buffers &buffers) const;
    void takeSideBySide(const std::function<void(std::string_view)> &take) const;

    const LineSource &m_lines;
    std::optional<std::uint32_t> m_firstKey;
    std::size_t m_pieces;
};
