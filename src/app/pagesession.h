#pragma once

#include "notes/notesstore.h"
#include "notes/pagerecord.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class ChangeFlags;
class CryptKey;
class LockState;
class NoteEditor;
class PageDocument;
class PageHighlighting;
class PageTabBar;
class PasswordBar;
class SessionPage;

// The pages of the notes window, in tab order, and the one editor that shows them. A page is its
// stored record and, from the first time it is shown, its document: its text with its own undo
// and redo histories for the whole run, and whether it changed since it was last written. The
// text of an unprotected page with a document is held there only, not in its record's lines; an
// unprotected page not shown since start-up holds it as the Notes file's bytes (its record's
// storedLines) until it is shown.
//
// The editor always shows the page of the selected tab, or the locked placeholder for it, or
// nothing when there is no page. Every change of the selection (the user's on the tab strip,
// select(), adding the first page, removing the selected one) runs page-leave of the page the
// editor held and page-enter of the selected one; no other code binds the editor to a page.
class PageSession : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        PageTabBar &tabs;
        NoteEditor &editor;
        PasswordBar &passwordBar;
        const LockState &lock;
        PageHighlighting &highlighting;
        ChangeFlags &changes; // an edit marks the notes, a moved caret the positions
    };

    explicit PageSession(const Parts &parts, QObject *parent = nullptr);
    ~PageSession() override;

    int count() const { return int(m_pages.size()); }
    // The page's record; null out of range. It keeps its address while the page lives. The
    // record of a page whose text lives in its document or its stored lines holds no lines:
    // lines() gives them.
    PageRecord *record(int index) const;
    // The page's lines as they are now, wherever they live (empty out of range). A sealed page
    // gives the lines its record holds.
    QStringList lines(int index) const;
    // The text find across pages searches: PageSearch::pageText() of lines(index), made in one
    // piece from a document that holds the text.
    QString searchText(int index) const;
    QString name(int index) const;
    void setName(int index, const QString &name);
    void setProtected(int index, bool isProtected);

    // Appends a page with the record's text and places (its document is made when the page is
    // first shown); returns its index.
    int addPage(const QString &name, const PageRecord &record);
    // Deletes the page with its text and history; what the editor held of it goes with it.
    void removePage(int index);
    // Takes the page from out of the list and puts it back at to; the selection stays with it.
    void movePage(int from, int to);
    // Gives a page new text from outside the editor (another copy of the program wrote it): the
    // text replaces the page's lines and, when the page has a document, its text as one step the
    // user can undo; the page counts as written. A shown page is left first and entered again,
    // so its caret stays where it can. What was typed on it before is taken into its lines
    // first and then replaced: the caller decides what to keep.
    void replaceLines(int index, const QStringList &lines);
    // Every page as the Notes file keeps it, in tab order (an encrypted page as it was last
    // sealed).
    QList<StoredPage> storedPages() const;
    // Whether the page shows locked: protected while the lock is closed, or its text is sealed
    // and not opened.
    bool isLocked(int index) const;

    // With the key of the lock: opens every closed sealed page. Returns the names of the pages
    // whose lines do not open; they stay closed, with their lines as they are.
    QStringList openSealedPages();
    // Locking under encryption: the text of every protected page is sealed (when it changed)
    // and leaves memory with its document; the page keeps only its sealed lines. A page shown
    // in the editor is let go first.
    void closeProtectedPages();
    // The key changed (the lock's previous key is the old one): closed pages are opened with
    // the old key, and every page is sealed anew at the next save.
    void resealPages();
    // Encryption is off: every opened page is plain text from now on (pages that could not be
    // opened stay closed).
    void forgetSealing();

    int currentIndex() const;
    // Selects the page by program (page-leave and page-enter run); the page shown already is
    // left and entered again.
    void select(int index);
    void next();
    void previous();
    void nextWrapping();
    void previousWrapping();

    // The page the editor holds; null while it shows the placeholder or nothing.
    PageRecord *currentPage() const;
    // Whether the page's text changed since it was last written to the Notes file.
    bool isModified(int index) const;
    // The page's document; null before the page is first shown and while its text is sealed.
    const PageDocument *document(int index) const;

    // Page-leave: copies the editor's text and places into the page it holds (nothing while it
    // shows the placeholder). Page-enter: shows the selected page, or the locked placeholder and
    // the password bar, and focuses what it shows when the window is visible.
    void pageLeave();
    void pageEnter();
    // Empties the editor: it holds no page until the next page-enter.
    void unbind();

    // A save's side: pagesToWrite() runs page-leave and gives the pages to write, protected
    // pages sealed under encryption (closed ones as they are); writeEnded() when the save is
    // over. A write that really reached the disk marks as written every page not edited
    // meanwhile.
    QList<StoredPage> pagesToWrite();
    void writeEnded(bool written);

signals:
    // Page-enter showed a page, the placeholder or nothing.
    void entered();

private:
    SessionPage *pageAt(int index) const;
    const CryptKey *key() const;
    void dropClosedDocument(SessionPage &page);
    void dropDocument(SessionPage &page);
    void editorChanged();
    void keepEdits();
    void selectionChanged();
    void stepTo(int index);

    Parts m_parts;
    std::vector<std::unique_ptr<SessionPage>> m_pages;
    SessionPage *m_shown = nullptr; // the page whose document the editor shows
};
