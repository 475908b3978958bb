#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Opens the program's help with the platform's default program for it. Windows: Quillbox.chm
// beside the program, else in its sub-folder "_tmphhp". Elsewhere, where nothing reads chm
// files: Quillbox.html in the same two places, then in the installed documentation folder,
// opened at the section of the help context; when the desktop cannot open it, the program's own
// help window shows it. The file is looked for anew at every request; when there is none the
// user is told to reinstall.
class HelpLauncher
{
public:
    // Help contexts: the Help menu (any other number too), the options, find, pages and
    // password dialogs.
    enum Context
    {
        Contents = 0,
        Options = 70,
        Find = 80,
        Pages = 110,
        Password = 120
    };

    explicit HelpLauncher(QWidget *messageParent = nullptr);
    // Looks in programFolder (and its "_tmphhp") and, where the HTML help is used, docFolder.
    HelpLauncher(const QString &programFolder, const QString &docFolder,
                 QWidget *messageParent = nullptr);

    // True when the help file was found and handed to the platform.
    bool showHelp(int context = Contents) const;

    // The help file found now; empty when there is none.
    QString findHelpFile() const;

    // The section of the HTML help for a context; empty for the start page.
    static QString anchorFor(int context);
    static QString missingFilesMessage();

private:
    QStringList candidates() const;

    QString m_programFolder;
    QString m_docFolder;
    QWidget *m_messageParent;
};
