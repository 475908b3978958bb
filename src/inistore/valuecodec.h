#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How single values are written as INI values, and read back from any text.
namespace ValueCodec {

// Bytes 32..126 except "#" as they are; every other byte as "#" + three decimal digits.
std::string encodeString(std::string_view text);
// Undoes encodeString. A "#" not followed by three digits whose value is below 32, 35 or
// 127..255 makes the whole text come back undecoded.
std::string decodeString(std::string_view stored);

std::string encodeInt(std::int32_t value);
// An optionally signed decimal (leading blanks allowed) that fits in 32 bits; else nothing.
std::optional<std::int32_t> decodeInt(std::string_view stored);

// size bytes as upper-case hexadecimal pairs, high digit first, in memory order.
std::string encodeHex(const void *data, std::size_t size);
// Fills data from the pairs of stored, at most size bytes; returns how many were filled.
// In a pair a blank counts as "0" and letters are upper-cased; a pair with any other
// character outside 0-9, A-F yields 0. An odd last character and anything beyond 2 * size
// characters are ignored; bytes not reached keep their value.
std::size_t decodeHex(std::string_view stored, void *data, std::size_t size);

} // namespace ValueCodec
