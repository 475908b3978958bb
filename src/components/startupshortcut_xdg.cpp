#include "desktopentry.h"
#include "startupshortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The program a word of Exec names: a path, or a name looked up in PATH. Empty when no
// such file exists.
QString canonicalProgram(const QString &word)
{
    const QString path = word.contains(u'/') ? word : QStandardPaths::findExecutable(word);
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

QString StartupShortcut::startupFolder()
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(configHome) + QStringLiteral("/autostart/");
}

QString StartupShortcut::entrySuffix()
{
    return QStringLiteral(".desktop");
}

QString StartupShortcut::linkTarget(const QString &entryPath)
{
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return canonicalProgram(DesktopEntry::startedProgram(file.readAll()));
}

bool StartupShortcut::sameProgram(const QString &target, const QString &program)
{
    return !target.isEmpty() && target == QFileInfo(program).canonicalFilePath();
}

bool StartupShortcut::writeEntry(const QString &entryPath, QString &reason)
{
    QSaveFile file(entryPath);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(DesktopEntry::application(m_title, m_programName));
        if (file.commit())
            return true;
    }
    reason = file.errorString();
    return false;
}
