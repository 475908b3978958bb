#pragma once

#include <QString>

// Another program holding the lock file of a Notes file, as `flock QuillIni.lck ...` does:
// an open file description of its own with an exclusive flock, so the window's store cannot
// have the lock while it is held, even from the same process.
class OtherLockHolder
{
public:
    OtherLockHolder() = default;
    ~OtherLockHolder() { release(); }
    OtherLockHolder(const OtherLockHolder &) = delete;
    OtherLockHolder &operator=(const OtherLockHolder &) = delete;

    // The lock file of a Notes file named Quillbox.ini in folder.
    bool hold(const QString &folder);
    void release();

private:
    int m_fd = -1;
};
