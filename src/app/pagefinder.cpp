#include "pagefinder.h"

#include "components/dialogseam.h"
#include "editor/noteeditor.h"
#include "mainwindow.h"
#include "pagesession.h"
#include "search/pagesearch.h"
#include "search/textsearchdialog.h"

#include <QApplication>

void PageFinder::showFindDialog()
{
    TextSearchDialog dialog(
        m_history, m_lastSearchText, [this](int context) { m_window.showHelp(context); },
        &m_window);
    if (DialogSeam::exec(dialog) == QDialog::Accepted && !m_lastSearchText.isEmpty())
        searchPages();
}

void PageFinder::searchPages()
{
    if (m_lastSearchText.isEmpty()) {
        showFindDialog();
        return;
    }
    m_window.pageLeave();
    PageSession &pages = m_window.pages();
    const auto isLocked = [&pages](int index) { return pages.isLocked(index); };
    QStringList texts;
    for (int i = 0; i < pages.count(); ++i)
        texts.append(isLocked(i) ? QString() : pages.searchText(i));

    NoteEditor *editor = m_window.editor();
    const PageSearch::Result result = PageSearch::searchPages(
        texts, pages.currentIndex(), editor->selStart(), m_lastSearchText, isLocked);
    if (result.found) {
        if (result.page != pages.currentIndex())
            pages.select(result.page);
        editor->setFocus();
        editor->setSelStart(result.selStart);
        editor->setSelLength(result.selLength);
    } else {
        QApplication::beep();
        DialogSeam::ask(&m_window, DialogSeam::Kind::Confirm,
                        PageSearch::notFoundMessage(m_lastSearchText, result.lockedSkipped),
                        QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Question);
    }
    if (editor->isVisible())
        editor->setFocus();
}
