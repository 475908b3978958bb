#pragma once

#include <QStringList>

class QTextDocument;

// One page of the notes window. The tab strip owns the records; the editor holds only the
// current one. The page's own undo and redo history lives in its document for the whole run.
struct PageRecord
{
    QStringList lines;
    int selStart = 0;  // 0-based, a line break counting as two characters
    int caretX = 0;    // 1-based column
    int caretY = 0;    // 1-based line
    int selLength = 0; // not stored
    int topLine = 0;   // 1-based
    bool isProtected = false;
    QTextDocument *document = nullptr; // text with undo/redo history; owned by the main window
};
