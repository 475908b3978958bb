#include "hotkeyedit.h"

#include "components/virtualkeys.h"

#include <QKeyEvent>
#include <QKeySequence>

HotKeyEdit::HotKeyEdit(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true); // no paste, no drop: only key presses change it
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void HotKeyEdit::setVirtualKey(int virtualKey)
{
    const int qtKey = VirtualKeys::qtKeyFromVk(virtualKey);
    setText(qtKey == 0 ? QString() : QKeySequence(qtKey).toString(QKeySequence::NativeText));
    m_virtualKey = virtualKey;
}

bool HotKeyEdit::keepsDialogMeaning(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

int HotKeyEdit::virtualKeyOf(const QKeyEvent &event)
{
    return VirtualKeys::vkFromQtKey(event.key() | (event.modifiers() & Qt::KeypadModifier));
}

bool HotKeyEdit::event(QEvent *event)
{
    // Keys that are shortcuts elsewhere in the window (F1 for help) are taken as the hot key.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (!keepsDialogMeaning(keyEvent->key()) && virtualKeyOf(*keyEvent) != 0) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void HotKeyEdit::keyPressEvent(QKeyEvent *event)
{
    if (keepsDialogMeaning(event->key())) {
        event->ignore();
        return;
    }
    if (const int virtualKey = virtualKeyOf(*event); virtualKey != 0)
        setVirtualKey(virtualKey);
    event->accept();
}
