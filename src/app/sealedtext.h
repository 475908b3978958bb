#pragma once

#include <QStringList>

class CryptKey;

// A protected page's text as the Notes file keeps it when protected pages are encrypted: the
// sealed lines, and whether the page's lines hold them unopened ("closed") or the text they
// were opened to. Closed lines are written back exactly as they are; opened text is sealed
// anew (a fresh nonce) only when it changed since it was sealed, so an unchanged page keeps
// its stored lines and two copies of the program do not see each other's saves as changes.
//
// The page's lines are the caller's (the page record's); every member that takes them works
// on them in place.
class SealedText
{
public:
    // The lines are closed sealed lines: shown locked, written back untouched.
    bool isClosed() const { return m_closed; }
    // The closed lines did not open with the key they were last tried with.
    bool isDamaged() const { return m_damaged; }
    // Whether these are the sealed lines the page holds (closed or opened).
    bool holds(const QStringList &sealedLines) const;

    // Lines from the Notes file or another copy: the sealed lines of a protected page are
    // closed; any other lines are plain text.
    void take(const QStringList &lines, bool isProtected);
    // Opens closed lines with key into lines. False when they do not authenticate: the page
    // stays closed and counts as damaged.
    bool open(QStringList &lines, const CryptKey &key);
    // Closes opened text: seals it when it changed since it was sealed (key is then needed,
    // null when there is none), wipes the text and leaves the sealed lines in lines. False,
    // and nothing changed, when sealing needed a key.
    bool close(QStringList &lines, const CryptKey *key);
    // What the Notes file is to hold for opened text under encryption: its sealed lines,
    // sealed now when it changed since (the text itself when there is no key).
    QStringList sealedFor(const QStringList &lines, const CryptKey *key);
    // The sealed lines of opened text as they stand, without sealing: the text itself when it
    // was never sealed.
    QStringList lastSealed(const QStringList &lines) const;
    // The text is plain from now on: what was sealed of it is forgotten.
    void forget();
    // The next sealedFor() seals anew (the key changed).
    void resealNext();

    // What page lines compare as when two copies' saves are merged: sealed lines that open
    // with key as a digest of their text, so the same text sealed twice compares equal; any
    // other lines as they are stored.
    static QString comparableText(const QStringList &lines, const CryptKey *key);

private:
    QStringList m_sealed;
    // The text m_sealed holds (sharing the page's lines while they are unchanged).
    QStringList m_sealedText;
    bool m_closed = false;
    bool m_damaged = false;
};
