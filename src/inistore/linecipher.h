#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The scrambling of the Notes file's lines: a seeded 32-bit linear congruential generator
// (state := state * 134775813 + 1) shifts every byte by 1..200 within 0..222 and adds 32.
// A byte b >= 223 is written as 255 (one draw, discarded) and b - 223 shifted by the next
// draw; files written without the escape never hold 255 and read exactly as before.
// Enciphered text never holds a byte below 32, so it never holds a line break.
class LineCipher
{
public:
    static std::string encipher(std::string_view plain, std::uint32_t key);
    // Appends the enciphered line to out (a whole file is built this way without a string
    // per line).
    static void appendEnciphered(std::string &out, std::string_view plain, std::uint32_t key);
    // The number of bytes the enciphered line takes.
    static std::size_t encipheredSize(std::string_view plain);
    // Writes the enciphered line (encipheredSize(plain) bytes) at `to`; returns its end.
    static char *encipherInto(char *to, std::string_view plain, std::uint32_t key);
    // Takes any bytes: malformed input yields some bytes, never an error.
    static std::string decipher(std::string_view enciphered, std::uint32_t key);
    // Deciphers line where it stands (the plain text is never longer).
    static void decipherInPlace(std::string &line, std::uint32_t key);
    // Writes the plain line at `to`, which may be where the enciphered line begins or anywhere
    // before it; returns its end.
    static char *decipherInto(char *to, std::string_view enciphered, std::uint32_t key);
    // The seed of a save made `milliseconds` after midnight (UTC): 1000..10999.
    static int seedFor(std::uint32_t milliseconds);

    static constexpr unsigned char escapeByte = 255;
    static constexpr int escapeBase = 223;
};
