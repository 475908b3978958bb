#include "drivepath.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString pathOnDriveTarget(const QString &path, const QString &deviceTarget)
{
    const qsizetype colon = deviceTarget.indexOf(u':', 1);
    if (colon < 0 || path.size() < 2)
        return path;
    QString folder = deviceTarget.mid(colon - 1);
    const QString rest = path.mid(2);
    const auto isSeparator = [](QChar c) { return c == u'\\' || c == u'/'; };
    if (!rest.isEmpty() && isSeparator(folder.back()) && isSeparator(rest.front()))
        folder.chop(1); // a substituted drive root: "D:\" + "\file"
    return folder + rest;
}

QString resolveDrivePath(const QString &path)
{
#ifdef Q_OS_WIN
    if (path.size() < 2 || path.at(1) != u':')
        return path;
    wchar_t target[1001] = {};
    const QString drive = path.left(2);
    if (QueryDosDeviceW(reinterpret_cast<const wchar_t *>(drive.utf16()), target, 1001) == 0)
        return path;
    return pathOnDriveTarget(path, QString::fromWCharArray(target));
#else
    return path;
#endif
}
