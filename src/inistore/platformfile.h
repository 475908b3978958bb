#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The operating-system file calls the store needs beyond std::filesystem: private file
// modes, synced writes, the lock file and the program's own path. Failures come back with
// the system's reason in `error`.
namespace PlatformFile {

enum class Existence
{
    Missing,
    Present,
    Unknown // the system could not tell (the folder cannot be searched)
};

// A UTF-8 name as a std::filesystem path and back (on Windows through UTF-16, never the
// local code page).
std::filesystem::path toPath(const std::string &path);
std::string fromPath(const std::filesystem::path &path);

Existence existence(const std::string &path, std::string &error);
std::optional<std::string> readAll(const std::string &path, std::string &error);
// The size of the file at path; no value when it cannot be told.
std::optional<std::uintmax_t> fileSize(const std::string &path);
// Hands the file's bytes to `take` piece by piece, in order; false when it cannot be read.
bool readInPieces(const std::string &path, const std::function<void(std::string_view)> &take);
// Reads the file into the end of `bytes`, up to pieceBytes at a time; after each piece
// took(the bytes added, false) may take bytes off the front of `bytes`. At the end of the file
// took(nothing, true) is called once. False when the file cannot be read (error says why).
bool readAppending(const std::string &path, std::string &bytes, std::size_t pieceBytes,
                   const std::function<void(std::string_view added, bool atEnd)> &took,
                   std::string &error);
// A file's bytes, handed piece by piece in order to `write`, which is false once writing failed
// (the pieces after that are dropped).
using WritePiece = std::function<bool(std::string_view)>;
using Pieces = std::function<void(const WritePiece &write)>;
// Creates a new file (never replacing one) readable by its owner only, writes the content and,
// with `sync`, flushes it to the disk before closing. The file is held while it is written, so
// that removeUnheldFile leaves it alone.
bool writeNewFile(const std::string &path, const Pieces &content, bool sync, std::string &error);
// Removes a regular file that no one holds open for writing (a file being written by
// writeNewFile in this or another process stays); false when nothing was removed.
bool removeUnheldFile(const std::string &path);
// For tests, a nearly full disk: writeNewFile may write `bytes` more bytes in all; the write
// that finds too little room writes what fits and fails as on a full disk. No value: no limit.
void setSpaceLeft(std::optional<std::uintmax_t> bytes);
bool renameFile(const std::string &from, const std::string &to, std::string &error);
bool removeFile(const std::string &path);
// Removes a file's name as removeFile does. Releasing the storage of a file of megabytes takes
// milliseconds: where the system allows it, a second thread does that while the caller goes
// on. It is done before the next such removal returns and before the program ends.
bool removeFileReleasingLater(const std::string &path);
// Creates one folder level, open to its owner only.
bool createFolder(const std::string &path);
// Makes the renames in a folder durable (nothing to do where the system does not need it).
void syncFolder(const std::string &path);

// Opens and exclusively holds the lock file; -1 while another holder has it (or it cannot
// be created). folderMissing is set when it cannot be created because its folder does not
// exist: no later attempt can do better.
std::intptr_t tryLock(const std::string &path, std::string &error, bool &folderMissing);
// Deletes the lock file (when it is still the one held) and closes it.
void unlock(std::intptr_t handle, const std::string &path);

// The running program's folder, ending in a separator.
std::string programFolder();
#ifdef _WIN32
// The Windows directory, ending in a separator.
std::string windowsFolder();
#endif
bool isPathSeparator(char c);
char separator();

} // namespace PlatformFile
