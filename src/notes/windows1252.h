#pragma once

// The Windows-1252 code page, the 8-bit text of files the old program wrote. Every byte has a
// character: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are
// the C1 control characters of the same value, as Windows itself maps them.
namespace Windows1252 {

char16_t toUnicode(unsigned char byte);

} // namespace Windows1252
