#pragma once

#include "contenthash.h"
#include "linebuffer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The lines of a file as IniFileMain writes it, read about a megabyte at a time and handed on in
// pieces, in order. A file that begins with the marker line and a seed line has them taken off
// and the lines after them deciphered, each with its own key. While one piece is taken, the
// next is read and deciphered beside it. A file of any size costs a few pieces of memory, not
// its size: fresh memory for a large file costs more than reading and deciphering it.
class LineLoader
{
public:
    static constexpr std::size_t pieceBytes = 1024 * 1024;

    explicit LineLoader(std::string_view marker) : m_marker(marker) {}

    // Hands the file's lines to take, piece by piece; every byte read goes into print. False
    // when the file cannot be read (error says why); take may have had pieces by then.
    bool load(const std::string &path, const LinePieceTaker &take, ContentHash &print,
              std::string &error);

private:
    // Takes the marker and seed lines off the bytes once the first two lines are there (or the
    // file has ended); false while they are not.
    bool takeHeader(bool atEnd);
    // Fills piece with the lines of the first `end` bytes, deciphered where the file is, and
    // drops those bytes.
    void takeLines(std::size_t end, LineBuffer &piece);

    std::string_view m_marker;
    // The bytes read and not yet made into lines.
    std::string m_bytes;
    bool m_headerTaken = false;
    // The key of the next line of an enciphered file.
    std::optional<std::uint32_t> m_key;
};
