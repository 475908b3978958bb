#include "heldfile.h"

#include "testfolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef _WIN32
HeldFile::HeldFile(const std::string &path)
{
    const HANDLE handle =
        CreateFileW(TestFolder::toPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    m_held = handle != INVALID_HANDLE_VALUE;
    m_handle = m_held ? handle : nullptr;
}

HeldFile::~HeldFile()
{
    if (m_handle)
        CloseHandle(m_handle);
}
#else
HeldFile::HeldFile(const std::string &path) : m_fd(::open(path.c_str(), O_RDWR | O_CLOEXEC))
{
    m_held = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

HeldFile::~HeldFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
#endif
