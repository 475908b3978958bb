#pragma once

#include <string>

// Holds a file open as another program's save holds its temporary file while writing it: on
// POSIX with an exclusive flock, on Windows through a handle that does not share deletion.
// Released when it goes out of scope.
class HeldFile
{
public:
    explicit HeldFile(const std::string &path);
    ~HeldFile();
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;

    bool isHeld() const { return m_held; }

private:
#ifdef _WIN32
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    bool m_held = false;
};
