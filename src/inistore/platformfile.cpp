#include "platformfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace PlatformFile {

namespace {

std::string systemError()
{
#ifdef _WIN32
    return std::system_category().message(static_cast<int>(GetLastError()));
#else
    return std::strerror(errno);
#endif
}

#ifdef _WIN32
// The store's names are UTF-8; Windows takes them as UTF-16 through its wide calls (the
// ANSI calls would read them in the local code page and miss every other character).
std::wstring widePath(const std::string &path)
{
    const int length = static_cast<int>(path.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, path.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), length, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string utf8Path(const wchar_t *path, std::size_t length)
{
    const int wideLength = static_cast<int>(length);
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, path, wideLength, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, wideLength, utf8.data(), static_cast<int>(utf8.size()),
                        nullptr, nullptr);
    return utf8;
}
#endif

// Opens path for reading. On POSIX the open never waits (a FIFO would wait for a writer) and
// anything but a regular file is refused, so a FIFO or device swapped in for a data file can
// never hang a read.
std::FILE *openForReading(const std::string &path, std::string &error)
{
#ifdef _WIN32
    std::FILE *file = _wfopen(widePath(path).c_str(), L"rb");
    if (!file)
        error = std::strerror(errno);
    return file;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = systemError();
        return nullptr;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a regular file";
        ::close(fd);
        return nullptr;
    }
    std::FILE *file = ::fdopen(fd, "rb");
    if (!file) {
        error = systemError();
        ::close(fd);
    }
    return file;
#endif
}

std::optional<std::uintmax_t> &spaceLeft()
{
    static std::optional<std::uintmax_t> bytes;
    return bytes;
}

// The bytes of `wanted` that the disk still takes, taken from the room left.
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

} // namespace

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

bool holdsBytes(const std::string &path, std::string_view bytes)
{
    std::error_code code;
    if (fs::file_size(toPath(path), code) != bytes.size() || code)
        return false;
    std::string error;
    std::FILE *file = openForReading(path, error);
    if (!file)
        return false;
    char buffer[65536];
    std::size_t offset = 0;
    bool same = true;
    while (same) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
        if (count == 0)
            break;
        same = offset + count <= bytes.size() &&
               std::memcmp(buffer, bytes.data() + offset, count) == 0;
        offset += count;
    }
    same = same && offset == bytes.size() && std::ferror(file) == 0;
    std::fclose(file);
    return same;
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

#ifdef _WIN32

bool writeNewFile(const std::string &path, std::string_view text, bool sync, std::string &error)
{
    HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemError();
        return false;
    }
    DWORD written = 0;
    const std::size_t room = takeSpace(text.size());
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(room), &written, nullptr) &&
              written == text.size();
    giveSpaceBack(room - written);
    if (ok && sync)
        ok = FlushFileBuffers(file);
    if (!ok && room < text.size())
        SetLastError(ERROR_DISK_FULL);
    if (!ok)
        error = systemError();
    CloseHandle(file);
    return ok;
}

bool removeUnheldFile(const std::string &path)
{
    // A file open elsewhere without delete sharing (as writeNewFile opens it) cannot go.
    const std::wstring name = widePath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    return DeleteFileW(name.c_str());
}

bool createFolder(const std::string &path)
{
    return CreateDirectoryW(widePath(path).c_str(), nullptr);
}

void syncFolder(const std::string &) {}

std::intptr_t tryLock(const std::string &path, std::string &error, bool &folderMissing)
{
    HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    folderMissing = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND;
    if (file == INVALID_HANDLE_VALUE) {
        error = systemError();
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(file);
}

void unlock(std::intptr_t handle, const std::string &path)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    DeleteFileW(widePath(path).c_str());
}

std::string programFolder()
{
    // A name cut to the buffer fills it whole: grow the buffer until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, buffer.data(),
                                        static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    const std::string path = utf8Path(buffer.data(), length);
    return path.substr(0, path.find_last_of("\\/:") + 1);
}

std::string windowsFolder()
{
    wchar_t buffer[200];
    const UINT length = GetWindowsDirectoryW(buffer, 200);
    return utf8Path(buffer, length < 200 ? length : 0) + '\\';
}

bool isPathSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

char separator()
{
    return '\\';
}

#else

bool writeNewFile(const std::string &path, std::string_view text, bool sync, std::string &error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = systemError();
        return false;
    }
    // Held for removeUnheldFile; the file is new, so only that call can hold it already.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const char *data = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        const std::size_t room = takeSpace(left);
        if (room == 0) {
            errno = ENOSPC;
            ok = false;
            break;
        }
        const ssize_t written = ::write(fd, data, room);
        giveSpaceBack(room - (written > 0 ? static_cast<std::size_t>(written) : 0));
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        if (ok) {
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    if (ok && sync)
        ok = ::fsync(fd) == 0;
    if (!ok)
        error = systemError();
    if (::close(fd) != 0 && ok) {
        error = systemError();
        ok = false;
    }
    return ok;
}

bool removeUnheldFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat held = {};
    struct stat named = {};
    const bool removable = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
                           S_ISREG(held.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
                           held.st_dev == named.st_dev && held.st_ino == named.st_ino &&
                           ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removable;
}

bool createFolder(const std::string &path)
{
    return ::mkdir(path.c_str(), 0700) == 0;
}

void syncFolder(const std::string &path)
{
    const int fd =
        ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::intptr_t tryLock(const std::string &path, std::string &error, bool &folderMissing)
{
    folderMissing = false;
    // The holder deletes the file before it closes it, so a lock won on a file that no
    // longer has this name is worthless: take the new file instead.
    for (int tries = 0; tries < 10; ++tries) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            folderMissing = errno == ENOENT;
            error = systemError();
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            error = systemError();
            ::close(fd);
            return -1;
        }
        struct stat held = {};
        struct stat named = {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    error = "the lock file keeps being replaced";
    return -1;
}

void unlock(std::intptr_t handle, const std::string &path)
{
    const int fd = static_cast<int>(handle);
    struct stat held = {};
    struct stat named = {};
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino)
        ::unlink(path.c_str());
    ::close(fd);
}

std::string programFolder()
{
    std::error_code code;
    const fs::path program = fs::read_symlink("/proc/self/exe", code);
    if (code)
        return "./";
    return program.parent_path().string() + '/';
}

bool isPathSeparator(char c)
{
    return c == '/';
}

char separator()
{
    return '/';
}

#endif

} // namespace PlatformFile
