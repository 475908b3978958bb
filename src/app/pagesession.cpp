#include "pagesession.h"

#include "changeflags.h"
#include "documentlines.h"
#include "editor/documenttext.h"
#include "editor/noteeditor.h"
#include "editor/pagedocument.h"
#include "pagehighlighting.h"
#include "pagetabbar.h"
#include "search/pagesearch.h"
#include "sealedtext.h"
#include "security/lockstate.h"
#include "security/passwordbar.h"

#include <QLineEdit>
#include <QTextCursor>
#include <atomic>

namespace {
const QString LockedPageText = QStringLiteral("Password Protected Data ");

// Stamps of the states of page texts, never given twice in a run.
quint64 nextTextStamp()
{
    static std::atomic<quint64> last{0};
    return ++last;
}
} // namespace

struct PageSession::Page
{
    QString name;
    // Its lines are empty while the document holds the text.
    PageRecord record;
    // Made from the lines when the page is first shown. Shared with the pages a save holds,
    // whose text it may give after the save waited for the lock (the event loop ran).
    std::shared_ptr<PageDocument> document;
    // The document holds the page's text, and the record no lines.
    bool textInDocument = false;
    // The state of the text (see StoredPage::textStamp): changes with every change of it.
    quint64 textStamp = nextTextStamp();
    // The document holds edits the lines do not have yet.
    bool editsPending = false;
    // The edits counted, and their count when the last save took the page: a save marks the
    // page written only when no edit came meanwhile.
    quint64 edits = 0;
    quint64 editsAtWrite = 0;
    // The lines as the Notes file keeps them while the page is encrypted.
    SealedText sealed;
};

PageSession::PageSession(const Parts &parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    connect(&m_parts.tabs, &PageTabBar::currentChanged, this, &PageSession::selectionChanged);
    connect(&m_parts.editor, &NoteEditor::changed, this, &PageSession::editorChanged);
}

// The editor lets go of a shown page document as the document goes.
PageSession::~PageSession() = default;

PageSession::Page *PageSession::pageAt(int index) const
{
    return index >= 0 && index < count() ? m_pages[size_t(index)].get() : nullptr;
}

PageRecord *PageSession::record(int index) const
{
    Page *page = pageAt(index);
    return page ? &page->record : nullptr;
}

QString PageSession::name(int index) const
{
    const Page *page = pageAt(index);
    return page ? page->name : QString();
}

void PageSession::setName(int index, const QString &name)
{
    if (Page *page = pageAt(index)) {
        page->name = name;
        m_parts.tabs.setPageName(index, name);
    }
}

void PageSession::setProtected(int index, bool isProtected)
{
    Page *page = pageAt(index);
    if (!page)
        return;
    const bool wasLocked = isLocked(*page);
    if (page->record.isProtected != isProtected) {
        // A protected page keeps its lines in its record, where sealing works on them.
        takeTextFromDocument(*page);
        page->record.isProtected = isProtected;
        page->textStamp = nextTextStamp();
        // Sealed lines of a page protected now are closed; those of a page no longer
        // protected are opened when there is a key, and stay closed otherwise.
        if (isProtected)
            takeLines(*page);
        else if (!page->sealed.isClosed() ||
                 (key() && page->sealed.open(page->record.lines, *key())))
            page->sealed.forget();
        giveTextToDocument(*page);
    }
    m_parts.tabs.setPageProtected(index, isProtected);
    // The selected page shows its text or the placeholder as its lock now says.
    if (index == currentIndex() && isLocked(*page) != wasLocked) {
        pageLeave();
        pageEnter();
    }
}

int PageSession::addPage(const QString &name, const PageRecord &record)
{
    auto page = std::make_unique<Page>();
    page->name = name;
    page->record = record;
    page->sealed.take(record.lines, record.isProtected);
    m_pages.push_back(std::move(page));
    // The first page of an empty session is selected at once, and so entered.
    return m_parts.tabs.addPage(name, record.isProtected);
}

void PageSession::removePage(int index)
{
    Page *page = pageAt(index);
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
    std::unique_ptr<Page> page = std::move(m_pages[size_t(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(page));
    m_parts.tabs.movePage(from, to);
}

void PageSession::replaceLines(int index, const QStringList &lines)
{
    Page *page = pageAt(index);
    // The sealed lines the page holds already carry its text as it is.
    if (!page || page->sealed.holds(lines))
        return;
    const bool shown = page == m_shown;
    if (shown)
        pageLeave();
    page->record.lines = lines;
    page->textInDocument = false;
    page->textStamp = nextTextStamp();
    page->editsPending = false;
    takeLines(*page);
    if (PageDocument *document = page->document.get()) {
        const NoteEditor::ProgramChange reload(m_parts.editor);
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(page->record.lines.join(QChar(u'\n')));
        cursor.endEditBlock();
        document->setModified(false);
        giveTextToDocument(*page);
    }
    if (shown)
        pageEnter();
}

QList<StoredPage> PageSession::storedPages() const
{
    QList<StoredPage> pages;
    pages.reserve(count());
    for (const std::unique_ptr<Page> &page : m_pages) {
        StoredPage stored = storedPage(*page);
        if (isEncrypted(*page))
            stored.record.lines = page->sealed.lastSealed(page->record.lines);
        pages.append(stored);
    }
    return pages;
}

bool PageSession::isLocked(int index) const
{
    const Page *page = pageAt(index);
    return page && isLocked(*page);
}

bool PageSession::isLocked(const Page &page) const
{
    return page.sealed.isClosed() || m_parts.lock.isLocked(page.record.isProtected);
}

bool PageSession::isEncrypted(const Page &page) const
{
    return m_parts.lock.encrypting() && page.record.isProtected;
}

const CryptKey *PageSession::key() const
{
    return m_parts.lock.pageKey().keyIfPresent();
}

// The page's lines came from outside the editor: sealed lines of a protected page are closed,
// and opened at once while there is a key.
void PageSession::takeLines(Page &page)
{
    page.textStamp = nextTextStamp();
    page.sealed.take(page.record.lines, page.record.isProtected);
    if (page.sealed.isClosed()) {
        dropDocument(page);
        if (const CryptKey *pageKey = key())
            page.sealed.open(page.record.lines, *pageKey);
    }
}

// The page's text, with its undo and redo histories, leaves memory.
void PageSession::dropDocument(Page &page)
{
    if (!page.document)
        return;
    if (&page == m_shown)
        unbind();
    takeTextFromDocument(page);
    page.document->clear();
    page.document.reset();
}

// A page whose document gives its lines back as they are holds them only there: an
// unprotected page whose document was just made, or took the lines from outside.
void PageSession::giveTextToDocument(Page &page)
{
    if (!page.document || page.textInDocument || page.record.isProtected ||
        !DocumentLines::givesBack(page.record.lines))
        return;
    page.record.lines = QStringList();
    page.textInDocument = true;
}

// The page's lines back into its record (the document keeps its text too).
void PageSession::takeTextFromDocument(Page &page)
{
    if (!page.textInDocument)
        return;
    page.record.lines = linesOf(page);
    page.textInDocument = false;
}

QStringList PageSession::lines(int index) const
{
    const Page *page = pageAt(index);
    if (!page)
        return {};
    return page->textInDocument ? linesOf(*page) : page->record.lines;
}

QString PageSession::searchText(int index) const
{
    const Page *page = pageAt(index);
    if (!page || !page->textInDocument || (page == m_shown && page->editsPending))
        return PageSearch::pageText(lines(index));
    return DocumentLines::searchText(*page->document);
}

// Edits the editor holds may still end in the empty line that keeping them drops.
QStringList PageSession::linesOf(const Page &page) const
{
    if (&page == m_shown && page.editsPending)
        return DocumentText::lines(*page.document);
    return DocumentLines::of(*page.document);
}

StoredPage PageSession::storedPage(const Page &page) const
{
    StoredPage stored{page.name, page.record};
    // Sealing may give other lines for the same text: such a page is known by its lines.
    if (!page.record.isProtected && !page.sealed.isClosed())
        stored.textStamp = page.textStamp;
    if (page.textInDocument)
        stored.textLines = [document = std::shared_ptr<const PageDocument>(page.document)] {
            return DocumentLines::of(*document);
        };
    return stored;
}

QStringList PageSession::openSealedPages()
{
    QStringList unopened;
    const CryptKey *pageKey = key();
    for (const std::unique_ptr<Page> &page : m_pages) {
        if (!page->sealed.isClosed())
            continue;
        page->textStamp = nextTextStamp();
        if (!pageKey || !page->sealed.open(page->record.lines, *pageKey)) {
            unopened.append(page->name);
            continue;
        }
        if (!page->record.isProtected)
            page->sealed.forget();
    }
    return unopened;
}

void PageSession::closeProtectedPages()
{
    if (!m_parts.lock.encrypting())
        return;
    keepEdits();
    for (const std::unique_ptr<Page> &page : m_pages) {
        if (!page->record.isProtected || page->sealed.isClosed())
            continue;
        if (page.get() == m_shown)
            unbind();
        page->textStamp = nextTextStamp();
        if (page->sealed.close(page->record.lines, key()))
            dropDocument(*page);
    }
}

void PageSession::resealPages()
{
    const CryptKey &previous = m_parts.lock.pageKey().previous();
    for (const std::unique_ptr<Page> &page : m_pages) {
        page->textStamp = nextTextStamp();
        if (page->sealed.isClosed() && previous.isValid() &&
            page->sealed.open(page->record.lines, previous) && !page->record.isProtected)
            page->sealed.forget();
        if (!page->sealed.isClosed())
            page->sealed.resealNext();
    }
}

void PageSession::forgetSealing()
{
    for (const std::unique_ptr<Page> &page : m_pages) {
        if (!page->sealed.isClosed())
            page->sealed.forget();
    }
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
    return m_shown ? &m_shown->record : nullptr;
}

bool PageSession::isModified(int index) const
{
    const Page *page = pageAt(index);
    return page && page->document && page->document->isModified();
}

const PageDocument *PageSession::document(int index) const
{
    const Page *page = pageAt(index);
    return page ? page->document.get() : nullptr;
}

void PageSession::pageLeave()
{
    if (!m_shown)
        return;
    keepEdits();
    const NoteEditor &editor = m_parts.editor;
    PageRecord &page = m_shown->record;
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
    Page *page = pageAt(currentIndex());
    if (!page) {
        editor.hide();
        return;
    }
    {
        const NoteEditor::ProgramChange showing(editor);
        editor.show();
        if (isLocked(*page)) {
            m_shown = nullptr;
            m_parts.passwordBar.show();
            editor.showPlaceholder(LockedPageText);
        } else {
            m_parts.passwordBar.hide();
            const PageRecord &record = page->record;
            editor.showPageDocument(&documentOf(*page), record.caretX, record.caretY,
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

PageDocument &PageSession::documentOf(Page &page)
{
    if (!page.document) {
        page.document = std::make_shared<PageDocument>(page.record.lines);
        giveTextToDocument(page);
    }
    return *page.document;
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
    if (!m_shown || !m_shown->editsPending)
        return;
    m_shown->editsPending = false;
    PageDocument &document = *m_shown->document;
    // Two empty lines are the text of one empty line, which the document alone would give back
    // as none: the record keeps it.
    if (m_shown->textInDocument && document.characterCount() == 2) {
        m_shown->record.lines = QStringList{QString()};
        m_shown->textInDocument = false;
    }
    if (m_shown->textInDocument) {
        // The document keeps the text: it only gives up an empty last line, as the lines
        // taken from it would not hold one.
        const NoteEditor::ProgramChange trim(m_parts.editor);
        DocumentText::trimLastEmptyLine(document);
        return;
    }
    m_shown->record.lines = m_parts.editor.takePageLines();
    giveTextToDocument(*m_shown);
}

void PageSession::editorChanged()
{
    m_parts.changes.markNotes();
    if (m_shown) {
        m_shown->editsPending = true;
        ++m_shown->edits;
        m_shown->textStamp = nextTextStamp();
    }
}

QList<StoredPage> PageSession::pagesToWrite()
{
    pageLeave();
    QList<StoredPage> pages;
    pages.reserve(count());
    for (const std::unique_ptr<Page> &page : m_pages) {
        page->editsAtWrite = page->edits;
        StoredPage stored = storedPage(*page);
        if (isEncrypted(*page))
            stored.record.lines = page->sealed.sealedFor(page->record.lines, key());
        pages.append(stored);
    }
    return pages;
}

void PageSession::writeEnded(bool written)
{
    if (!written)
        return;
    for (const std::unique_ptr<Page> &page : m_pages) {
        if (page->document && page->edits == page->editsAtWrite)
            page->document->setModified(false);
    }
}
