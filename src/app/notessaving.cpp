#include "notessaving.h"

#include "changeflags.h"
#include "components/dialogseam.h"

#include <QScopedValueRollback>
#include <QTimer>

NotesSaving::NotesSaving(NotesStore &store, NotesSettings &settings, ChangeFlags &changes,
                         std::function<QList<StoredPage>()> pagesToWrite, QWidget *window)
    : m_store(store), m_settings(settings), m_changes(changes),
      m_pagesToWrite(std::move(pagesToWrite)), m_window(window)
{
}

bool NotesSaving::saveNotes()
{
    if (!m_changes.any())
        return true;
    if (m_saving)
        return false;
    bool written = false;
    {
        const QScopedValueRollback saving(m_saving, true);
        const QList<StoredPage> pages = m_pagesToWrite();
        m_changes.saveStarted();
        written = m_store.write(m_settings, pages, m_changes.notes());
        m_changes.saveEnded(written);
    }
    emit saveEnded(written);
    if (m_exitPending) {
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(m_exitPending, false))
                emit exitDue();
        });
    }
    return written;
}

void NotesSaving::saveCommand()
{
    if (saveNotes() || m_saving || m_exitPending || m_notesUnreadable)
        return;
    DialogSeam::error(
        m_window,
        QStringLiteral("The Notes file could not be saved.\n%1").arg(m_store.lastError()));
}

void NotesSaving::saveBeforeExit()
{
    m_exitPending = false;
    while (!saveNotes()) {
        const QMessageBox::StandardButton answer = DialogSeam::ask(
            m_window, DialogSeam::Kind::Error,
            QStringLiteral("The Notes file could not be saved.\n%1\n\nRetry, or Ignore to exit "
                           "anyway and lose the changes made since the last save.")
                .arg(m_store.lastError()),
            QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry, QMessageBox::Critical);
        if (answer != QMessageBox::Retry)
            return;
    }
}
