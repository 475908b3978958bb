#include "notespaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString notesFileName = QStringLiteral("Quillbox.ini");

} // namespace

QString defaultNotesPath(const QString &programFolder)
{
    const QString portable = QDir(programFolder).filePath(notesFileName);
    if (QFileInfo::exists(portable))
        return portable;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dataFolder).filePath(notesFileName);
}

bool makeNotesFolder(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    if (!makeNotesFolder(folder))
        return false;
    return QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
