#include "otherlockholder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool OtherLockHolder::hold(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir(folder).filePath("QuillIni.lck"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    release();
    return false;
}

void OtherLockHolder::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
