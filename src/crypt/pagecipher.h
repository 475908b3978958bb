#pragma once

#include "cryptkey.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>

// The cipher of protected pages: a key derived from the password (Argon2id), page lines
// sealed with XChaCha20-Poly1305 under a fresh nonce at every seal, and a check value that
// tells the right password from a wrong one. Sealed pages are ordinary page lines of printable
// ASCII without blanks at either end, so the Notes file carries them like any other text:
//   QUILLBOX-ENCRYPTED-PAGE 1 <nonce, base64>
//   <ciphertext, base64, 76 characters a line, the last line shorter>
// Plain text handed to or taken from the cipher lives in buffers that are zeroed before they
// are freed; the caller wipes the lines it gets with wipe().
namespace PageCipher {

// Starts libsodium once; false when it cannot start, and then nothing here works.
bool initialize();

struct Params
{
    unsigned long long opsLimit;
    std::size_t memLimit; // bytes
};

// Argon2id over 64 MiB in 3 passes: one derivation takes 0.15 to 0.3 s on a desktop of today.
Params defaultParams();
// The stored form, "argon2id,<opsLimit>,<memLimit>".
QString paramsText(const Params &params);
// Nothing for a text that is not exactly such a form, or whose limits libsodium refuses or
// that would make a derivation take minutes (a damaged file must not hang the program).
std::optional<Params> paramsFromText(const QString &text);

// 16 random bytes.
QByteArray newSalt();
// The key of the password (as UTF-8) and the salt; invalid when the salt is not 16 bytes,
// the limits are refused or the memory cannot be had.
CryptKey deriveKey(const QString &password, const QByteArray &salt, const Params &params);

// A fixed text sealed with the key under a fresh nonce, as one line of printable ASCII.
QString makeCheck(const CryptKey &key);
// True only when check is a check value made with this key.
bool checkMatches(const CryptKey &key, const QString &check);

// The first line has the form of a sealed page's header, of any format version: the tag, a
// decimal version and a base64 nonce, separated by single blanks. A page of notes begins so
// only when someone copied a sealed page's lines into it.
bool isSealed(const QStringList &lines);
// The lines joined with CR LF as UTF-8, sealed. An empty list and a list of one empty line
// both seal as the empty text, which opens as no lines.
QStringList seal(const CryptKey &key, const QStringList &lines);
// The lines that were sealed; nothing when the key is invalid or wrong, or when any line was
// changed, added or removed.
std::optional<QStringList> open(const CryptKey &key, const QStringList &sealed);

// Zeroes the characters each line holds (after making the line's buffer its own), then
// empties the list.
void wipe(QStringList &lines);
void wipe(QString &text);

} // namespace PageCipher
