#include "platformfile.h"

#include "platformfile_p.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace PlatformFile {

namespace Detail {

std::string systemError()
{
    return std::strerror(errno);
}

std::FILE *openForReading(const std::string &path, std::string &error)
{
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
}

} // namespace Detail

using namespace Detail;

namespace {

// Writes all of data unless the disk is full or the system fails.
bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const std::size_t room = takeSpace(data.size());
        if (room == 0) {
            errno = ENOSPC;
            return false;
        }
        const ssize_t written = ::write(fd, data.data(), room);
        giveSpaceBack(room - (written > 0 ? static_cast<std::size_t>(written) : 0));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Closes the last handle of removed files on a thread of its own: the system releases a
// file's storage when its last handle goes.
class Releaser
{
public:
    ~Releaser() { finish(); }

    void release(int fd)
    {
        const std::lock_guard lock(m_mutex);
        finishLocked();
        try {
            m_thread = std::thread([fd] { ::close(fd); });
        } catch (const std::system_error &) {
            ::close(fd);
        }
    }

    void finish()
    {
        const std::lock_guard lock(m_mutex);
        finishLocked();
    }

private:
    void finishLocked()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    std::mutex m_mutex;
    std::thread m_thread;
};

Releaser &releaser()
{
    static Releaser instance;
    return instance;
}

} // namespace

bool writeNewFile(const std::string &path, const Pieces &content, bool sync, std::string &error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = systemError();
        return false;
    }
    // Held for removeUnheldFile; the file is new, so only that call can hold it already.
    ::flock(fd, LOCK_EX | LOCK_NB);
    bool ok = true;
    content([&](std::string_view piece) { return ok = ok && writeAll(fd, piece); });
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

bool removeFileReleasingLater(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return removeFile(path);
    }
    const bool removed = ::unlink(path.c_str()) == 0;
    releaser().release(fd);
    return removed;
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

} // namespace PlatformFile
