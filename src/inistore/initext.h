#pragma once

#include <optional>
#include <string>
#include <string_view>

// Byte-string helpers shared by the store: the one case-insensitive ordering (ordinal, ASCII
// letters folded to upper case), trimming of blanks and control characters, and strict
// decimal parsing.
namespace IniText {

// <0, 0 or >0 like strcmp, comparing bytes with 'a'..'z' folded to 'A'..'Z'.
int compareText(std::string_view a, std::string_view b);
bool sameText(std::string_view a, std::string_view b);
bool lessText(std::string_view a, std::string_view b);

// ASCII upper case; other bytes unchanged.
std::string upperCase(std::string_view s);

// Removes leading and trailing bytes 0..32 (blanks and control characters).
std::string_view trim(std::string_view s);

// An optionally signed decimal integer that fits in 32 bits, nothing else (no blanks).
std::optional<int> toInt(std::string_view s);

} // namespace IniText
