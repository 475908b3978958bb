#include "pagesession.h"

#include "changeflags.h"
#include "editor/noteeditor.h"
#include "pagehighlighting.h"
#include "pagetabbar.h"
#include "search/pagesearch.h"
#include "security/lockstate.h"
#include "security/passwordbar.h"
#include "sessionpage.h"

#include <QLineEdit>

namespace {
const QString LockedPageText = QStringLiteral("Password Protected Data ");
} // namespace

PageSession::PageSession(const Parts &parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    connect(&m_parts.tabs, &PageTabBar::currentChanged, this, &PageSession::selectionChanged);
    connect(&m_parts.editor, &NoteEditor::changed, this, &PageSession::editorChanged);
}

// The editor lets go of a shown page document as the document goes.
PageSession::~PageSession() = default;

SessionPage *PageSession::pageAt(int index) const
{
    return index >= 0 && index < count() ? m_pages[size_t(index)].get() : nullptr;
}

PageRecord *PageSession::record(int index) const
{
    SessionPage *page = pageAt(index);
    return page ? &page->record() : nullptr;
}

QString PageSession::name(int index) const
{
    const SessionPage *page = pageAt(index);
    return page ? page->name() : QString();
}

void PageSession::setName(int index, const QString &name)
{
    if (SessionPage *page = pageAt(index)) {
        page->setName(name);
        m_parts.tabs.setPageName(index, name);
    }
}

void PageSession::setProtected(int index, bool isProtected)
{
    SessionPage *page = pageAt(index);
    if (!page)
        return;
    const bool wasLocked = page->isLocked(m_parts.lock);
    if (page->record().isProtected != isProtected && page->setProtected(isProtected, key()))
        dropClosedDocument(*page);
    m_parts.tabs.setPageProtected(index, isProtected);
    // The selected page shows its text or the placeholder as its lock now says.
    if (index == currentIndex() && page->isLocked(m_parts.lock) != wasLocked) {
        pageLeave();
        pageEnter();
    }
}

int PageSession::addPage(const QString &name, const PageRecord &record)
{
    m_pages.push_back(std::make_unique<SessionPage>(name, record));
    // The first page of an empty session is selected at once, and so entered.
    return m_parts.tabs.addPage(name, record.isProtected);
}

void PageSession::removePage(int index)
{
    SessionPage *page = pageAt(index);
    if (!page)
        return;
    // What the editor held of the page goes with it: the editor lets go of the page's document
    // as the document goes.
    if (page == m_shown)
        m_shown = nullptr;
    m_pages.erase(m_pages.begin() + index);
    // When the selected tab goes, the tab taking its place is entered.
    m_parts.tabs.removePage(index);
}

void PageSession::movePage(int from, int to)
{
    if (!pageAt(from) || !pageAt(to) || from == to)
        return;
    std::unique_ptr<SessionPage> page = std::move(m_pages[size_t(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(page));
    m_parts.tabs.movePage(from, to);
}

void PageSession::replaceLines(int index, const QStringList &lines)
{
    SessionPage *page = pageAt(index);
    // The sealed lines the page holds already carry its text as it is.
    if (!page || page->sealed().holds(lines))
        return;
    const bool shown = page == m_shown;
    if (shown)
        pageLeave();
    if (page->takeLines(lines))
        dropClosedDocument(*page);
    if (page->document()) {
        const NoteEditor::ProgramChange reload(m_parts.editor);
        page->reloadDocument();
    }
    if (shown)
        pageEnter();
}

QList<StoredPage> PageSession::storedPages() const
{
    QList<StoredPage> pages;
    pages.reserve(count());
    for (const std::unique_ptr<SessionPage> &page : m_pages)
        pages.append(page->storedPage(m_parts.lock));
    return pages;
}

bool PageSession::isLocked(int index) const
{
    const SessionPage *page = pageAt(index);
    return page && page->isLocked(m_parts.lock);
}

const CryptKey *PageSession::key() const
{
    return m_parts.lock.pageKey().keyIfPresent();
}

// The page's lines came closed from outside the editor: its document goes, and they are opened
// at once while there is a key.
void PageSession::dropClosedDocument(SessionPage &page)
{
    dropDocument(page);
    page.open(key());
}

// The page's text, with its undo and redo histories, leaves memory; the editor lets it go
// first.
void PageSession::dropDocument(SessionPage &page)
{
    if (!page.document())
        return;
    if (&page == m_shown)
        unbind();
    page.dropDocument();
}

QStringList PageSession::lines(int index) const
{
    const SessionPage *page = pageAt(index);
    return page ? page->lines() : QStringList();
}

QString PageSession::searchText(int index) const
{
    const SessionPage *page = pageAt(index);
    return page ? page->searchText() : PageSearch::pageText(QStringList());
}

QStringList PageSession::openSealedPages()
{
    QStringList unopened;
    const CryptKey *pageKey = key();
    for (const std::unique_ptr<SessionPage> &page : m_pages) {
        if (page->sealed().isClosed() && !page->openSealed(pageKey))
            unopened.append(page->name());
    }
    return unopened;
}

void PageSession::closeProtectedPages()
{
    if (!m_parts.lock.encrypting())
        return;
    keepEdits();
    for (const std::unique_ptr<SessionPage> &page : m_pages) {
        if (!page->record().isProtected || page->sealed().isClosed())
            continue;
        if (page.get() == m_shown)
            unbind();
        if (page->close(key()))
            dropDocument(*page);
    }
}

void PageSession::resealPages()
{
    const CryptKey &previous = m_parts.lock.pageKey().previous();
    for (const std::unique_ptr<SessionPage> &page : m_pages)
        page->reseal(previous);
}

void PageSession::forgetSealing()
{
    for (const std::unique_ptr<SessionPage> &page : m_pages)
        page->forgetSealing();
}

int PageSession::currentIndex() const
{
    return m_parts.tabs.currentIndex();
}

void PageSession::select(int index)
{
    stepTo(index);
}

void PageSession::next()
{
    if (currentIndex() < count() - 1)
        stepTo(currentIndex() + 1);
}

void PageSession::previous()
{
    if (currentIndex() > 0)
        stepTo(currentIndex() - 1);
}

void PageSession::nextWrapping()
{
    const int index = currentIndex();
    stepTo(index < count() - 1 ? index + 1 : 0);
}

void PageSession::previousWrapping()
{
    const int index = currentIndex();
    stepTo(index > 0 ? index - 1 : count() - 1);
}

// Another tab's selection reports itself and runs leave and enter; staying runs them here.
void PageSession::stepTo(int index)
{
    if (index != currentIndex()) {
        m_parts.tabs.setCurrentIndex(index);
        return;
    }
    pageLeave();
    pageEnter();
}

void PageSession::selectionChanged()
{
    pageLeave();
    pageEnter();
}

PageRecord *PageSession::currentPage() const
{
    return m_shown ? &m_shown->record() : nullptr;
}

bool PageSession::isModified(int index) const
{
    const SessionPage *page = pageAt(index);
    return page && page->isModified();
}

const PageDocument *PageSession::document(int index) const
{
    const SessionPage *page = pageAt(index);
    return page ? page->document() : nullptr;
}

void PageSession::pageLeave()
{
    if (!m_shown)
        return;
    keepEdits();
    const NoteEditor &editor = m_parts.editor;
    PageRecord &page = m_shown->record();
    if (editor.caretX() != page.caretX || editor.caretY() != page.caretY)
        m_parts.changes.markPositions();
    page.selStart = editor.selStart();
    page.selLength = editor.selLength();
    page.caretX = editor.caretX();
    page.caretY = editor.caretY();
    page.topLine = editor.topLine();
}

void PageSession::pageEnter()
{
    keepEdits();
    NoteEditor &editor = m_parts.editor;
    SessionPage *page = pageAt(currentIndex());
    if (!page) {
        editor.hide();
        return;
    }
    {
        const NoteEditor::ProgramChange showing(editor);
        editor.show();
        if (page->isLocked(m_parts.lock)) {
            m_shown = nullptr;
            m_parts.passwordBar.show();
            editor.showPlaceholder(LockedPageText);
        } else {
            m_parts.passwordBar.hide();
            const PageRecord &record = page->record();
            editor.showPageDocument(&page->documentToShow(), record.caretX, record.caretY,
                                    record.topLine);
            m_shown = page;
        }
        m_parts.highlighting.colourShownDocument();
    }
    if (m_parts.tabs.isVisible()) {
        if (!m_parts.passwordBar.isHidden())
            m_parts.passwordBar.passwordEdit()->setFocus();
        else if (editor.focusPolicy() != Qt::NoFocus)
            editor.setFocus();
    }
    emit entered();
}

void PageSession::unbind()
{
    keepEdits();
    {
        const NoteEditor::ProgramChange emptying(m_parts.editor);
        m_parts.editor.showPlaceholder(QString());
    }
    m_shown = nullptr;
}

// Edits the editor holds are taken into their page before anything else is shown, also when
// the caller did not run page-leave first.
void PageSession::keepEdits()
{
    if (!m_shown || !m_shown->editsPending())
        return;
    if (m_shown->keepEditsInDocument()) {
        const NoteEditor::ProgramChange trim(m_parts.editor);
        m_shown->trimDocument();
        return;
    }
    m_shown->setEditedLines(m_parts.editor.takePageLines());
}

void PageSession::editorChanged()
{
    m_parts.changes.markNotes();
    if (m_shown)
        m_shown->edited();
}

QList<StoredPage> PageSession::pagesToWrite()
{
    pageLeave();
    QList<StoredPage> pages;
    pages.reserve(count());
    for (const std::unique_ptr<SessionPage> &page : m_pages)
        pages.append(page->pageToWrite(m_parts.lock));
    return pages;
}

void PageSession::writeEnded(bool written)
{
    if (!written)
        return;
    for (const std::unique_ptr<SessionPage> &page : m_pages)
        page->written();
}
