#pragma once

#include "storedlines.h"

#include <QStringList>
#include <memory>

// What the Notes file keeps of one page besides its name: the text as lines and the places
// the editor comes back to. The notes window's page session owns the records.
struct PageRecord
{
    QStringList lines;
    int selStart = 0;  // 0-based, a line break counting as two characters
    int caretX = 0;    // 1-based column
    int caretY = 0;    // 1-based line
    int selLength = 0; // not stored
    int topLine = 0;   // 1-based
    bool isProtected = false;
    // When set, the text as the Notes file holds it, and lines holds none: a page read for a
    // window that has not shown it yet.
    std::shared_ptr<const StoredLines> storedLines;
};
