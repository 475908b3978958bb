#include "helplauncher.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "config.h"
#include "helpwindow.h"
#include "urlopener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString fallbackFolder = QStringLiteral("_tmphhp");

#ifdef Q_OS_WIN
const QString helpSuffix = QStringLiteral(".chm");
#else
const QString helpSuffix = QStringLiteral(".html");
#endif

} // namespace

HelpLauncher::HelpLauncher(QWidget *messageParent)
    : HelpLauncher(QCoreApplication::applicationDirPath(), QStringLiteral(QUILLBOX_DOCDIR),
                   messageParent)
{
}

HelpLauncher::HelpLauncher(const QString &programFolder, const QString &docFolder,
                           QWidget *messageParent)
    : m_programFolder(programFolder), m_docFolder(docFolder), m_messageParent(messageParent)
{
}

QStringList HelpLauncher::candidates() const
{
    const QString fileName = productName() + helpSuffix;
    const QDir program(m_programFolder);
    QStringList paths = {program.filePath(fileName),
                         program.filePath(fallbackFolder + u'/' + fileName)};
#ifndef Q_OS_WIN
    paths.append(QDir(m_docFolder).filePath(fileName));
#endif
    return paths;
}

QString HelpLauncher::findHelpFile() const
{
    for (const QString &path : candidates()) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString HelpLauncher::anchorFor(int context)
{
    switch (context) {
    case Options:
        return QStringLiteral("options");
    case Find:
        return QStringLiteral("find");
    case Pages:
        return QStringLiteral("pages");
    case Password:
        return QStringLiteral("password");
    default:
        return {};
    }
}

QString HelpLauncher::missingFilesMessage()
{
    return QStringLiteral("Help Files Are missing\rReinstall ") + productName() +
           QStringLiteral(" to correct the problem");
}

bool HelpLauncher::showHelp(int context) const
{
    const QString path = findHelpFile();
    if (path.isEmpty()) {
        DialogSeam::error(m_messageParent, missingFilesMessage());
        return false;
    }
    const bool html = path.endsWith(QStringLiteral(".html"));
    QUrl url = QUrl::fromLocalFile(path);
    if (html && !anchorFor(context).isEmpty())
        url.setFragment(anchorFor(context));
    if (!UrlOpener::open(url) && html)
        HelpWindow::showManual(m_messageParent, path, anchorFor(context));
    return true;
}
