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
    m_error.clear();
    if (present == m_present)
        return true;
    m_present = present;
    return present ? create() : remove();
}

bool StartupShortcut::create()
{
    const QString unableToCreate = QStringLiteral("Unable to create directory");
    if (m_folder.isEmpty()) {
        m_error = unableToCreate;
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        m_error = unableToCreate + u'\r' + QDir::toNativeSeparators(m_folder);
        return false;
    }
    if (m_title.isEmpty())
        m_title = QFileInfo(m_programName).completeBaseName();
    const QString entry = QDir(m_folder).filePath(m_title + entrySuffix());
    QString reason = QStringLiteral("The program's file is not known.");
    if (!m_programName.isEmpty() && writeEntry(entry, reason))
        return true;
    m_error = QStringLiteral("Unable to write the start-up entry\r%1\r%2")
                  .arg(QDir::toNativeSeparators(entry), reason);
    return false;
}

bool StartupShortcut::remove()
{
    const QString entry = findEntry();
    if (entry.isEmpty())
        return true;
    QFile file(entry);
    if (file.remove())
        return true;
    m_error = QStringLiteral("Unable to delete the start-up entry\r%1\r%2")
                  .arg(QDir::toNativeSeparators(entry), file.errorString());
    return false;
}
