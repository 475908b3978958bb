#pragma once

#include <QHash>
#include <functional>

class LockState;
class PageSession;
class QWidget;
struct NotesSettings;
struct PageRecord;

// The notes window's encrypted protected pages and the lock: the pages open when the password
// is given and leave memory, sealed, with the key when the lock closes; the options dialog
// turns encryption on and off, and the protection the pages dialog changes gets the key it
// needs. With encryption off only locking and opening happen, and they change nothing.
class PageLocking
{
public:
    using HelpHandler = std::function<void(int command, int data)>;

    PageLocking(LockState &lock, NotesSettings &settings, PageSession &pages, QWidget *window,
                HelpHandler help);

    // The password was given: every sealed page opens with the key; the user is told once of
    // the pages that do not.
    void opened();
    // The lock closed (or the program ends): the text of every protected page is sealed when
    // it changed and leaves memory, and so does the key.
    void lock();
    // After the password dialog: a committed new password's key seals every page anew, and
    // what a given password opens is opened. Locks again when the lock stayed closed.
    void passwordSet(bool committed);
    // Turns encryption on (asking for the password, or for a new one when there is none) or off
    // (asking for the password; the pages are plain text again and the password is stored).
    // False, with nothing changed, when the user cancelled.
    bool setEncryption(bool on);
    // After the pages dialog changed which pages are protected (before: each record's flag
    // before the dialog): under encryption without a key, the password is asked so that the
    // pages can be sealed or opened; when the user cancels, their protection goes back.
    // Locks when the lock stayed closed.
    void protectionChanged(const QHash<const PageRecord *, bool> &before);
    // The settings now hold another copy's (a save merged its changes, or the window was shown
    // over them) while this copy holds opened pages: encryption turned off there leaves the
    // pages plain; a password changed there is asked for, and the opened pages are sealed
    // with its key at the next save. What the window is to do next.
    enum class AfterOtherCopy
    {
        Nothing,
        WriteAgain,
        Lock // the user did not give the new password (and was told)
    };
    AfterOtherCopy otherCopysSettingsTaken();
    // Locks again unless the password was given: what a dialog opened for a moment leaves
    // memory.
    void lockUnlessRevealed();

private:
    void askForChangedProtection(const QHash<const PageRecord *, bool> &before);
    void report(const QStringList &unopened);

    LockState &m_lock;
    NotesSettings &m_settings;
    PageSession &m_pages;
    QWidget *m_window;
    HelpHandler m_help;
};
