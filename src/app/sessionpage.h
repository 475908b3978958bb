#pragma once

#include "notes/notesstore.h"
#include "notes/pagerecord.h"
#include "sealedtext.h"

#include <QString>
#include <QStringList>
#include <memory>

class CryptKey;
class LockState;
class PageDocument;

// One page of the page session: its name, its record, its sealed text and, from the first time
// it is shown, its document. It knows where its text lives: an unprotected page not shown yet
// whose record came with stored lines holds its text as those bytes only (record().storedLines),
// until it is shown or its text is taken elsewhere; an unprotected page whose document gives the
// record's lines back as they are holds its text in the document only; in both cases its record
// holds no lines. Any other page holds its lines in its record. Every change of the text gives
// the page a new stamp.
//
// The page knows nothing of the editor: the session lets the editor go before a page's document
// goes, and wraps the page's own changes of a shown document as program changes.
class SessionPage
{
public:
    // A page with the record's text and places; its lines as the Notes file gives them (the
    // sealed lines of a protected page are closed). A protected page takes stored lines into its
    // record's lines.
    SessionPage(const QString &name, const PageRecord &record);

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    // Holds no lines while the document or the stored lines hold the text.
    PageRecord &record() { return m_record; }
    const PageRecord &record() const { return m_record; }
    const SealedText &sealed() const { return m_sealed; }
    // Null before the page is first shown and while its text is sealed.
    PageDocument *document() const { return m_document.get(); }
    // Whether the text changed since it was last written to the Notes file.
    bool isModified() const;

    // The lines as they are now, wherever they live (a sealed page gives the lines its record
    // holds).
    QStringList lines() const;
    // PageSearch::pageText() of lines(), made in one piece from a document that holds the text.
    QString searchText() const;
    // Whether the page shows locked: protected while the lock is closed, or its text is sealed
    // and not opened.
    bool isLocked(const LockState &lock) const;
    // The page as the Notes file keeps it; an encrypted page as it was last sealed.
    StoredPage storedPage(const LockState &lock) const;
    // The page for a save to write, an encrypted page sealed now when it changed; the edits made
    // until now count as written once the save reached the disk (see written()).
    StoredPage pageToWrite(const LockState &lock);
    // A save reached the disk: the page counts as written unless it was edited since the save
    // took it.
    void written();

    // The document to show, made from the lines when the page is first shown (stored lines are
    // let go).
    PageDocument &documentToShow();
    // The text, with its undo and redo histories, leaves memory (the lines go back into the
    // record first). The editor must not show the document any more.
    void dropDocument();

    // New lines from outside the editor, in the record; what the editor held is forgotten. The
    // sealed lines of a protected page are closed: returns whether they are, and the caller then
    // drops the document and may open them.
    bool takeLines(const QStringList &lines);
    // Gives the page's document (it has one) the record's lines as one step the user can undo;
    // the page counts as written.
    void reloadDocument();
    // Whether the page is protected from now on; its text goes back into its record. The lines
    // of a page protected now are taken as in takeLines(), with the same answer; those of a page
    // no longer protected are plain text from now on when they are open or open with the key.
    bool setProtected(bool isProtected, const CryptKey *key);

    // The editor changed the shown document.
    void edited();
    // The editor holds edits the lines do not have yet (only the shown page has them).
    bool editsPending() const { return m_editsPending; }
    // Takes the pending edits: returns whether the document keeps holding the text, and the
    // caller trims it (trimDocument()); otherwise the caller gives the editor's lines
    // (setEditedLines()).
    bool keepEditsInDocument();
    // The document gives up an empty last line, as the lines taken from it would not hold one.
    void trimDocument();
    // The editor's lines with the edits, into the record (and on into the document when the
    // page may keep its text there).
    void setEditedLines(const QStringList &lines);

    // Opens closed sealed lines with the key; false when there is no key or they do not open.
    bool open(const CryptKey *key);
    // Opens the closed page with the key (a new stamp); an unprotected page opened is plain
    // text from now on. False, the page staying closed, when it does not open.
    bool openSealed(const CryptKey *key);
    // Seals the text (when it changed) and leaves only the sealed lines in the record; false
    // when sealing needed a key there is not. The caller drops the document.
    bool close(const CryptKey *key);
    // The key changed: closed lines are opened with the previous key, and the text is sealed
    // anew at the next save.
    void reseal(const CryptKey &previous);
    // Encryption is off: opened text is plain from now on.
    void forgetSealing();

private:
    bool isEncrypted(const LockState &lock) const;
    StoredPage storedLines() const;
    QStringList linesOfDocument() const;
    void giveTextToDocument();
    void takeTextFromDocument();
    void takeTextFromStoredLines();
    bool takeLines();
    void restamp();

    QString m_name;
    PageRecord m_record;
    // Shared with the pages a save holds, whose text it may give after the save waited for the
    // lock (the event loop ran).
    std::shared_ptr<PageDocument> m_document;
    // The document holds the page's text, and the record no lines.
    bool m_textInDocument = false;
    // The state of the text (see StoredPage::textStamp): changes with every change of it.
    quint64 m_textStamp = 0;
    bool m_editsPending = false;
    // The edits counted, and their count when the last save took the page: a save marks the
    // page written only when no edit came meanwhile.
    quint64 m_edits = 0;
    quint64 m_editsAtWrite = 0;
    // The lines as the Notes file keeps them while the page is encrypted.
    SealedText m_sealed;
};
