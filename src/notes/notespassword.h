#pragma once

#include <QString>
#include <array>

// The password as the Notes file keeps it: at most 30 bytes of UTF-8, stored in 31 bytes, a
// length byte followed by the 30 character bytes.
namespace NotesPassword {

constexpr int maxBytes = 30;
using Stored = std::array<unsigned char, maxBytes + 1>;

// The longest start of text whose UTF-8 fits in 30 bytes; a character is never cut.
QString limit(const QString &text);

// The stored form of limit(text); the bytes after the password are zero.
Stored toStored(const QString &text);

// The password a stored form holds. A length byte above 30 counts as 30; bytes that are not
// UTF-8 are the old program's Windows-1252.
QString fromStored(const Stored &stored);

} // namespace NotesPassword
