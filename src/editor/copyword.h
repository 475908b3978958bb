#pragma once

#include <QString>

// The word a double click copies: the longest run around a place in the text that holds no
// blank, CR or LF. Tabs, punctuation and every other character belong to the word, so a whole
// address, user name or password is taken in one piece.
struct WordRange
{
    int start = 0; // 0-based offset in the text
    int length = 0;

    friend bool operator==(const WordRange &, const WordRange &) = default;
};

// joinedText is the editor's whole text (lines joined by CR LF) and selStart the editor's
// selection start after its own double-click selection; a start outside the text is clamped.
WordRange copyWordRange(const QString &joinedText, int selStart);
