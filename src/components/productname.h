#pragma once

#include <QString>

// The product's name: window and dialog captions, messages, the tray menu's title and the file
// names of the Notes file, the help file and the start-up entry.
inline QString productName()
{
    return QStringLiteral("Quillbox");
}
