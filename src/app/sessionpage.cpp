#include "sessionpage.h"

#include "crypt/cryptkey.h"
#include "documentlines.h"
#include "editor/documenttext.h"
#include "editor/pagedocument.h"
#include "search/pagesearch.h"
#include "security/lockstate.h"

#include <QTextCursor>
#include <atomic>

namespace {
// Stamps of the states of page texts, never given twice in a run.
quint64 nextTextStamp()
{
    static std::atomic<quint64> last{0};
    return ++last;
}
} // namespace

SessionPage::SessionPage(const QString &name, const PageRecord &record)
    : m_name(name), m_record(record), m_textStamp(nextTextStamp())
{
    // Sealing works on the lines of a protected page.
    if (m_record.isProtected)
        takeTextFromStoredLines();
    m_sealed.take(m_record.lines, m_record.isProtected);
}

void SessionPage::restamp()
{
    m_textStamp = nextTextStamp();
}

bool SessionPage::isModified() const
{
    return m_document && m_document->isModified();
}

QStringList SessionPage::lines() const
{
    if (m_textInDocument)
        return linesOfDocument();
    return m_record.storedLines ? m_record.storedLines->lines() : m_record.lines;
}

QString SessionPage::searchText() const
{
    if (m_record.storedLines)
        return m_record.storedLines->searchText();
    if (!m_textInDocument || m_editsPending)
        return PageSearch::pageText(lines());
    return DocumentLines::searchText(*m_document);
}

// Edits the editor holds may still end in the empty line that keeping them drops.
QStringList SessionPage::linesOfDocument() const
{
    if (m_editsPending)
        return DocumentText::lines(*m_document);
    return DocumentLines::of(*m_document);
}

bool SessionPage::isLocked(const LockState &lock) const
{
    return m_sealed.isClosed() || lock.isLocked(m_record.isProtected);
}

bool SessionPage::isEncrypted(const LockState &lock) const
{
    return lock.encrypting() && m_record.isProtected;
}

// The page with its lines as they are held, unsealed.
StoredPage SessionPage::storedLines() const
{
    StoredPage stored{m_name, m_record};
    // Sealing may give other lines for the same text: such a page is known by its lines.
    if (!m_record.isProtected && !m_sealed.isClosed())
        stored.textStamp = m_textStamp;
    if (m_textInDocument)
        stored.textLines = [document = std::shared_ptr<const PageDocument>(m_document)] {
            return DocumentLines::of(*document);
        };
    return stored;
}

StoredPage SessionPage::storedPage(const LockState &lock) const
{
    StoredPage stored = storedLines();
    if (isEncrypted(lock))
        stored.record.lines = m_sealed.lastSealed(m_record.lines);
    return stored;
}

StoredPage SessionPage::pageToWrite(const LockState &lock)
{
    m_editsAtWrite = m_edits;
    StoredPage stored = storedLines();
    if (isEncrypted(lock))
        stored.record.lines = m_sealed.sealedFor(m_record.lines, lock.pageKey().keyIfPresent());
    return stored;
}

void SessionPage::written()
{
    if (m_document && m_edits == m_editsAtWrite)
        m_document->setModified(false);
}

PageDocument &SessionPage::documentToShow()
{
    if (!m_document) {
        takeTextFromStoredLines();
        m_document = std::make_shared<PageDocument>(m_record.lines);
        giveTextToDocument();
    }
    return *m_document;
}

void SessionPage::dropDocument()
{
    if (!m_document)
        return;
    takeTextFromDocument();
    m_document->clear();
    m_document.reset();
}

// A page whose document gives its lines back as they are holds them only there: an
// unprotected page whose document was just made, or took the lines from outside.
void SessionPage::giveTextToDocument()
{
    if (!m_document || m_textInDocument || m_record.isProtected ||
        !DocumentLines::givesBack(m_record.lines))
        return;
    m_record.lines = QStringList();
    m_textInDocument = true;
}

// The page's lines back into its record (the document keeps its text too).
void SessionPage::takeTextFromDocument()
{
    if (!m_textInDocument)
        return;
    m_record.lines = linesOfDocument();
    m_textInDocument = false;
}

// The stored lines become the record's lines, and are let go.
void SessionPage::takeTextFromStoredLines()
{
    if (!m_record.storedLines)
        return;
    m_record.lines = m_record.storedLines->lines();
    m_record.storedLines.reset();
}

bool SessionPage::takeLines(const QStringList &lines)
{
    m_record.storedLines.reset();
    m_record.lines = lines;
    m_textInDocument = false;
    restamp();
    m_editsPending = false;
    return takeLines();
}

// The record's lines came from outside the editor.
bool SessionPage::takeLines()
{
    restamp();
    m_sealed.take(m_record.lines, m_record.isProtected);
    return m_sealed.isClosed();
}

void SessionPage::reloadDocument()
{
    QTextCursor cursor(m_document.get());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(m_record.lines.join(QChar(u'\n')));
    cursor.endEditBlock();
    m_document->setModified(false);
    giveTextToDocument();
}

bool SessionPage::setProtected(bool isProtected, const CryptKey *key)
{
    // A protected page keeps its lines in its record, where sealing works on them.
    takeTextFromDocument();
    takeTextFromStoredLines();
    m_record.isProtected = isProtected;
    restamp();
    if (isProtected)
        return takeLines();
    if (!m_sealed.isClosed() || open(key))
        m_sealed.forget();
    giveTextToDocument();
    return false;
}

void SessionPage::edited()
{
    m_editsPending = true;
    ++m_edits;
    restamp();
}

bool SessionPage::keepEditsInDocument()
{
    m_editsPending = false;
    // Two empty lines are the text of one empty line, which the document alone would give back
    // as none: the record keeps it.
    if (m_textInDocument && m_document->characterCount() == 2) {
        m_record.lines = QStringList{QString()};
        m_textInDocument = false;
    }
    return m_textInDocument;
}

void SessionPage::trimDocument()
{
    DocumentText::trimLastEmptyLine(*m_document);
}

void SessionPage::setEditedLines(const QStringList &lines)
{
    m_record.lines = lines;
    giveTextToDocument();
}

bool SessionPage::open(const CryptKey *key)
{
    return key && m_sealed.open(m_record.lines, *key);
}

bool SessionPage::openSealed(const CryptKey *key)
{
    restamp();
    if (!open(key))
        return false;
    if (!m_record.isProtected)
        m_sealed.forget();
    return true;
}

bool SessionPage::close(const CryptKey *key)
{
    restamp();
    return m_sealed.close(m_record.lines, key);
}

void SessionPage::reseal(const CryptKey &previous)
{
    restamp();
    if (m_sealed.isClosed() && previous.isValid() && m_sealed.open(m_record.lines, previous) &&
        !m_record.isProtected)
        m_sealed.forget();
    if (!m_sealed.isClosed())
        m_sealed.resealNext();
}

void SessionPage::forgetSealing()
{
    if (!m_sealed.isClosed())
        m_sealed.forget();
}
