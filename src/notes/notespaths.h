#pragma once

#include <QString>

// Where the Notes file lives. On Windows beside the program. Elsewhere beside the program when a
// Quillbox.ini is already there (a portable copy), otherwise in the user's application data
// folder. The application name must be set first ("Quillbox", no organisation) so that the data
// folder is ~/.local/share/Quillbox.
QString defaultNotesPath(const QString &programFolder);

// Creates the missing folders above filePath, each with mode 0700. True when the folder exists.
bool makeNotesFolder(const QString &filePath);

// The Notes file of a run, as found once at start-up.
struct NotesFileChoice
{
    // The file to read and replace: for a symbolic link its final target, so that the lock,
    // temporary and side files lie beside the target and a save leaves the link a link.
    QString path;
    // Why the file cannot be used, one sentence naming it; empty when it can. A refused file
    // must never be written.
    QString problem;
};

// Resolves an absolute path once and checks that it can be the Notes file. Refused: a folder,
// FIFO, device or socket; a non-empty file that holds neither the enciphered marker line nor
// one INI section or key line (some other file, whose text a save would replace); a name
// that is its own lock file's name or a temporary file name of its folder. A missing file is
// fine: the first save creates it. A file that cannot be examined (no permission) is left to
// the read, which reports it.
NotesFileChoice resolveNotesFile(const QString &path);
