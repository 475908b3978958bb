#pragma once

#include <QString>

// Where the Notes file lives: beside the program when a Quillbox.ini is already there (a
// portable copy), otherwise in the user's application data folder. The application name must be
// set first ("Quillbox", no organisation) so that the data folder is ~/.local/share/Quillbox.
QString defaultNotesPath(const QString &programFolder);

// Creates the missing folders above filePath, each with mode 0700. True when the folder exists.
bool makeNotesFolder(const QString &filePath);
