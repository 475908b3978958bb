#pragma once

#include <QString>

// The program's licence text as the licence box shows it: the file's paragraphs, each on one
// line, so that the box wraps them to its own width instead of breaking the file's short lines
// a second time.
class LicenceText
{
public:
    // The licence compiled into the program, unwrapped; empty when it is missing.
    static QString load();

    // Joins the lines of each paragraph (lines between empty lines) into one, with one blank
    // between them and without their indentation. A line indented as far as a centred heading
    // stays a line of its own. Empty lines stay as they are.
    static QString unwrapped(const QString &text);
};
