#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Find across pages. The search starts one character after the selection start on the current
// page, goes on through the following pages in tab order, wraps from the last page to the first
// and ends with a closing visit to the current page, from its beginning up to the occurrences
// that begin at or before the first visit's start. Only the ASCII letters are compared without
// regard to case. Locked pages are never read: they are passed over and counted.
//
// The main window's searchPages() runs, with the last confirmed search text:
//   1. page-leave, so that the current page's stored lines are up to date;
//   2. PageSearch::searchPages() over every page's text (PageSearch::pageText() of its lines;
//      a locked page may be given as an empty string), the selected tab, the editor's selection
//      start and the locked-page test;
//   3. found on another page: select that tab (by program) and run page-enter, so that the
//      offsets apply to the page now in the editor;
//   4. found: focus the editor, set its selection start to selStart and its selection length
//      to selLength (the occurrence is selected, the caret at its end);
//   5. not found: beep, then DialogSeam::ask(parent, DialogSeam::Kind::Confirm,
//      PageSearch::notFoundMessage(...), QMessageBox::Ok, QMessageBox::Ok,
//      QMessageBox::Question);
//   6. in both cases, if the editor is visible it gets the focus.
namespace PageSearch {

struct Result
{
    bool found = false;
    int page = -1;         // the page holding the occurrence
    int selStart = 0;      // 0-based offset of the occurrence in that page's text
    int selLength = 0;     // the length of the search text
    int lockedSkipped = 0; // locked pages passed over; the current page is counted once
};

// The text a page is searched in: every line followed by CR LF.
QString pageText(const QStringList &lines);

// pageTexts holds one text per page in tab order; currentPage is the selected tab (an index out
// of range starts at the first page); selStart is the editor's selection start on it.
// With no pages or an empty search text nothing is found.
Result searchPages(const QStringList &pageTexts, int currentPage, int selStart,
                   const QString &searchText, const std::function<bool(int)> &isLocked);

// "<text> not found", and when locked pages were passed over a second line (after a CR)
// "<count> Protected Pages not searched".
QString notFoundMessage(const QString &searchText, int lockedSkipped);

} // namespace PageSearch
