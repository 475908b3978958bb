#pragma once

#include "components/clipboardguard.h"

#include <QObject>
#include <functional>

class NoteEditor;
class StatusLine;
struct NotesSettings;

// A double-click in the editor copies the whole word under the caret: the word is selected and
// put on the clipboard. A word of a protected page's own text is a secret, and so is every word
// when the user asks for it: the clipboard forgets it after the set delay, and the status line
// counts the seconds down meanwhile.
class WordCopier : public QObject
{
    Q_OBJECT

public:
    // showsProtectedText: whether the editor shows the text of a protected page (not the
    // placeholder of a locked one).
    WordCopier(NoteEditor &editor, StatusLine &statusLine, const NotesSettings &settings,
               std::function<bool()> showsProtectedText, QObject *parent = nullptr);

    void copyWord();
    // Copied words go through it; tests give it a clock of their own.
    ClipboardGuard &clipboard() { return m_clipboard; }

private:
    void showCountdown(int secondsLeft);

    NoteEditor &m_editor;
    StatusLine &m_statusLine;
    const NotesSettings &m_settings;
    std::function<bool()> m_showsProtectedText;
    ClipboardGuard m_clipboard;
};
