#pragma once

#include <QString>
#include <QStringList>

// The page text as lines and as one string. A line ends at CR LF, at a lone CR, at a lone LF or
// at the end of the text; a break at the very end of the text starts no further line. Joined,
// the lines are separated by CR LF with no break after the last one, and character offsets count
// every line break as two characters, the same count as in the joined text.
namespace TextLines {

// A place in the text: 0-based line and 0-based column (UTF-16 code units).
struct Point
{
    int line = 0;
    int column = 0;

    friend bool operator==(const Point &, const Point &) = default;
};

QStringList split(const QString &text);
QString join(const QStringList &lines);

// The place of a 0-based offset in the joined text. An offset inside a line break stands at the
// end of that line; offsets outside the text are clamped to its start or end.
Point pointFromOffset(const QStringList &lines, int offset);

// The offset of a place in the joined text; the line and column are clamped to the text.
int offsetFromPoint(const QStringList &lines, Point point);

} // namespace TextLines
