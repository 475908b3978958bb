#pragma once

#include "components/runningmarker.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks of a run, read before the application object exists (so that
// --help and --version work without a display): another Notes file ("--notes FILE"), whether to
// hide the window right after start-up (the first argument "/HIDE" in any letter case, or
// "--hide"), whether to hand "--toggle" or "--show" to a copy that runs already, or to print
// something and end at once. Qt's own options (-platform, -session, ...)
// are left for the application object; any other argument that starts with "-" is refused.
struct StartUpOptions
{
    // Empty: the default Notes file. Else absolute (a relative name is taken in the working
    // folder) and resolved by resolveNotesFile; a file it refuses ends the program with the
    // reason (exit code 1).
    QString notesFile;
    bool hide = false;
    // "--toggle" (what the hot key does) or "--show" (show and bring to front, never hide):
    // asked of the running copy; when none runs, this copy starts and shows its window.
    std::optional<RunningMarker::Command> remoteCommand;

    // Set when the program must end without starting: what to print, where, and the exit code.
    bool endNow = false;
    int exitCode = 0;
    QString output;
    bool outputIsError = false;

    // arguments as main() receives them, the program first.
    static StartUpOptions parse(const QStringList &arguments);

    static QString usage(const QString &program);
    static QString version();
};
