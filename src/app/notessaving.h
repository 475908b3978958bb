#pragma once

#include "notes/notesstore.h"

#include <QObject>
#include <functional>

class ChangeFlags;
class QWidget;
struct NotesSettings;

// The notes window's saves. The Notes file is written when a change flag is set; the flags stay
// set until the file really was written, so a failed save leaves them for the next one. One
// save runs at a time: the store waits for the lock handling events, and what is marked
// meanwhile stays set for the next save. An exit asked for during that wait runs once the save
// is over.
class NotesSaving : public QObject
{
    Q_OBJECT

public:
    // pagesToWrite: takes the editor's edits into their page and gives the pages in tab order.
    NotesSaving(NotesStore &store, NotesSettings &settings, ChangeFlags &changes,
                std::function<QList<StoredPage>()> pagesToWrite, QWidget *window);

    // Writes the Notes file when a change flag is set. False when the file was not written,
    // also when another save is still running.
    bool saveNotes();
    // Save (Ctrl+S): saveNotes, and a save that fails is reported to the user with its reason.
    void saveCommand();
    // The exit's save: until the file is written or the user chooses to exit anyway.
    void saveBeforeExit();
    bool isSaving() const { return m_saving; }
    // The exit waits for the running save; exitDue() is raised once it is over.
    void exitAfterSave() { m_exitPending = true; }
    // The user was told at start-up that nothing is saved: Save does not say it again.
    void setNotesUnreadable(bool unreadable) { m_notesUnreadable = unreadable; }

signals:
    void exitDue();
    // A save is over; written: the file really was replaced.
    void saveEnded(bool written);

private:
    NotesStore &m_store;
    NotesSettings &m_settings;
    ChangeFlags &m_changes;
    std::function<QList<StoredPage>()> m_pagesToWrite;
    QWidget *m_window;
    bool m_saving = false;
    bool m_exitPending = false;
    bool m_notesUnreadable = false;
};
