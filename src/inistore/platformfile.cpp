#include "platformfile.h"

#include "platformfile_p.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace PlatformFile {

namespace {

std::optional<std::uintmax_t> &spaceLeft()
{
    static std::optional<std::uintmax_t> bytes;
    return bytes;
}

} // namespace

namespace Detail {

std::size_t takeSpace(std::size_t wanted)
{
    if (!spaceLeft())
        return wanted;
    const auto taken = static_cast<std::size_t>(std::min<std::uintmax_t>(wanted, *spaceLeft()));
    *spaceLeft() -= taken;
    return taken;
}

void giveSpaceBack(std::size_t bytes)
{
    if (spaceLeft())
        *spaceLeft() += bytes;
}

} // namespace Detail

using Detail::openForReading;

void setSpaceLeft(std::optional<std::uintmax_t> bytes)
{
    spaceLeft() = bytes;
}

fs::path toPath(const std::string &path)
{
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string fromPath(const fs::path &path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

Existence existence(const std::string &path, std::string &error)
{
    std::error_code code;
    const fs::file_status status = fs::symlink_status(toPath(path), code);
    if (status.type() == fs::file_type::not_found)
        return Existence::Missing;
    if (code) {
        error = code.message();
        return Existence::Unknown;
    }
    return Existence::Present;
}

std::optional<std::string> readAll(const std::string &path, std::string &error)
{
    std::FILE *file = openForReading(path, error);
    if (!file)
        return std::nullopt;
    // Read in one go at the size the file has now, then on to its end should it have grown.
    std::error_code code;
    const std::uintmax_t size = fs::file_size(toPath(path), code);
    std::string content(code ? 0 : size, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), file));
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    if (failed)
        error = std::strerror(errno);
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return content;
}

std::optional<std::uintmax_t> fileSize(const std::string &path)
{
    std::error_code code;
    const std::uintmax_t size = fs::file_size(toPath(path), code);
    if (code)
        return std::nullopt;
    return size;
}

bool readInPieces(const std::string &path, const std::function<void(std::string_view)> &take)
{
    constexpr std::size_t pieceBytes = 65536;
    std::string bytes;
    std::string error;
    return readAppending(
        path, bytes, pieceBytes,
        [&](std::string_view added, bool atEnd) {
            if (!atEnd)
                take(added);
            bytes.clear();
        },
        error);
}

bool readAppending(const std::string &path, std::string &bytes, std::size_t pieceBytes,
                   const std::function<void(std::string_view added, bool atEnd)> &took,
                   std::string &error)
{
    std::FILE *const opened = openForReading(path, error);
    if (!opened)
        return false;
    // Closed however the reading ends, also when took() throws.
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(opened, &std::fclose);
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + pieceBytes);
        const std::size_t count = std::fread(bytes.data() + at, 1, pieceBytes, file.get());
        bytes.resize(at + count);
        if (count == 0)
            break;
        took(std::string_view(bytes).substr(at), false);
    }
    if (std::ferror(file.get()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    took({}, true);
    return true;
}

bool renameFile(const std::string &from, const std::string &to, std::string &error)
{
    std::error_code code;
    fs::rename(toPath(from), toPath(to), code);
    if (code)
        error = code.message();
    return !code;
}

bool removeFile(const std::string &path)
{
    std::error_code code;
    return fs::remove(toPath(path), code);
}

} // namespace PlatformFile
