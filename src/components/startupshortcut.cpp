#include "startupshortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

StartupShortcut::StartupShortcut() : m_folder(startupFolder()) {}

void StartupShortcut::setProgramName(const QString &path)
{
    QString name = path;
    if (name.endsWith(u'/') || name.endsWith(QDir::separator()))
        name.chop(1);
    if (name == m_programName)
        return;
    m_programName = name;
    m_present = checkPresence();
}

QString StartupShortcut::findEntry() const
{
    if (m_programName.isEmpty() || m_folder.isEmpty())
        return {};
    const QDir dir(m_folder);
    const QStringList entries = dir.entryList(
        {QLatin1Char('*') + entrySuffix()}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        const QString path = dir.filePath(entry);
        if (sameProgram(linkTarget(path), m_programName))
            return path;
    }
    return {};
}

bool StartupShortcut::checkPresence()
{
    m_title.clear();
    const QString entry = findEntry();
    if (entry.isEmpty())
        return false;
    m_title = QFileInfo(entry).completeBaseName();
    return true;
}

bool StartupShortcut::setShortcutPresent(bool present)
{
    if (present == m_present)
        return true;
    m_present = present;
    return present ? create() : remove();
}

bool StartupShortcut::create()
{
    if (m_folder.isEmpty() || m_programName.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    if (m_title.isEmpty())
        m_title = QFileInfo(m_programName).completeBaseName();
    return writeEntry(QDir(m_folder).filePath(m_title + entrySuffix()));
}

bool StartupShortcut::remove() const
{
    const QString entry = findEntry();
    return entry.isEmpty() || QFile::remove(entry);
}
