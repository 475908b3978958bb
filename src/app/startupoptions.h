#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of a run: another Notes file ("--notes FILE") and whether to hide
// the window right after start-up (the first argument "/HIDE" in any letter case, or "--hide").
struct StartUpOptions
{
    QString notesFile;
    bool hide = false;

    // arguments as QCoreApplication::arguments() gives them, the program first.
    static StartUpOptions parse(const QStringList &arguments, const QString &defaultNotesFile);
};
