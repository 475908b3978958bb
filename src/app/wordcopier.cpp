#include "wordcopier.h"

#include "editor/copyword.h"
#include "editor/noteeditor.h"
#include "notes/notessettings.h"
#include "statusline.h"
#include "windowtexts.h"

WordCopier::WordCopier(NoteEditor &editor, StatusLine &statusLine, const NotesSettings &settings,
                       std::function<bool()> showsProtectedText, QObject *parent)
    : QObject(parent), m_editor(editor), m_statusLine(statusLine), m_settings(settings),
      m_showsProtectedText(std::move(showsProtectedText))
{
    connect(&m_editor, &NoteEditor::doubleClicked, this, &WordCopier::copyWord);
    connect(&m_clipboard, &ClipboardGuard::countdownChanged, this, &WordCopier::showCountdown);
}

void WordCopier::copyWord()
{
    const QString text = m_editor.text();
    const WordRange word = copyWordRange(text, m_editor.selStart());
    m_editor.setSelStart(word.start);
    m_editor.setSelLength(word.length);
    if (word.length == 0)
        return;
    const QString copied = text.mid(word.start, word.length);
    if (m_settings.clipClearAll || m_showsProtectedText())
        m_clipboard.copySecret(copied, m_settings.clipClearSecs);
    else
        m_clipboard.copyPlain(copied);
}

void WordCopier::showCountdown(int secondsLeft)
{
    if (secondsLeft < 0)
        m_statusLine.resetHint();
    else
        m_statusLine.setHint(WindowTexts::copiedHint(secondsLeft));
}
