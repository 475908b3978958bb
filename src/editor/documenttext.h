#pragma once

#include <QString>
#include <QStringList>

class QTextDocument;

// The text of a document the editor shows, read and written by the rules of TextLines. Inside
// the document a line break is one character; the offsets here count it as two, like the page
// text joined with CR LF.
namespace DocumentText {

// The lines joined by CR LF, no break after the last one.
QString text(const QTextDocument &document);

// The text split into lines: an empty last line is not kept (see TextLines::split).
QStringList lines(const QTextDocument &document);

// Replaces the whole text by the text split into lines and empties both histories.
void setText(QTextDocument &document, const QString &text);

// Removes one empty last line: shown again, the document then holds the lines that lines()
// gave before, as the page text would. The removal joins the last undo step, so one undo still
// takes back the user's last edit together with it. Returns whether a line was removed.
bool trimLastEmptyLine(QTextDocument &document);

// Conversions between document positions and CR-LF offsets. An offset inside a line break
// stands at the end of its line; offsets outside the text are clamped.
int offsetFromPosition(const QTextDocument &document, int position);
int positionFromOffset(const QTextDocument &document, int offset);

} // namespace DocumentText
