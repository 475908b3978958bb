#pragma once

#include <QString>
#include <QStringList>

class QTextDocument;

// A page document's text as the page's lines, for a page whose text lives in its document only.
namespace DocumentLines {

// The lines the document holds once the editor's edits are kept: each block is a line, and a
// document of one empty block holds none.
QStringList of(const QTextDocument &document);

// Whether a document made from the lines gives them back as they are through of(): a line
// holding a character the document takes for a line break comes back split, and one empty line
// comes back as none.
bool givesBack(const QStringList &lines);

// PageSearch::pageText() of of(document), made in one pass over the document's text.
QString searchText(const QTextDocument &document);

} // namespace DocumentLines
