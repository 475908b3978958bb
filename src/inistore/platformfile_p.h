#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// What the platform files of PlatformFile share: the reading open, the system's last error as
// text and the test seam's room left on the disk.
namespace PlatformFile::Detail {

// Opens path for reading. On POSIX the open never waits (a FIFO would wait for a writer) and
// anything but a regular file is refused, so a FIFO or device swapped in for a data file can
// never hang a read.
std::FILE *openForReading(const std::string &path, std::string &error);
std::string systemError();
// The bytes of `wanted` that the disk still takes, taken from the room left.
std::size_t takeSpace(std::size_t wanted);
void giveSpaceBack(std::size_t bytes);

} // namespace PlatformFile::Detail
