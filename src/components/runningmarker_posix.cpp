#include "runningmarker.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder only this user can enter: a real folder (not a link to one), owned by the user,
// closed to group and others.
bool isPrivateFolder(const QString &path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// "quillbox" under the user's cache folder, made and kept 0700. Empty when it is not a folder
// of this user's own.
QString privateCacheFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return QString();
    const QString folder = cache + QStringLiteral("/quillbox");
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), S_IRWXU);
    struct stat status = {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid())
        return QString();
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        ::chmod(path.constData(), S_IRWXU);
    return isPrivateFolder(folder) ? folder : QString();
}

} // namespace

struct RunningMarker::Native
{
};

RunningMarker::RunningMarker(const QString &name, QObject *parent)
    : QObject(parent), m_native(std::make_unique<Native>())
{
    listen(serverAddress(name));
}

RunningMarker::~RunningMarker() = default;

QString RunningMarker::serverAddress(const QString &name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder =
        !runtime.isEmpty() && isPrivateFolder(runtime) ? runtime : privateCacheFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name;
}
