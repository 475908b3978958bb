#include "keypreview.h"

#include "windowcommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget &window, const WindowCommands &commands)
    : QObject(&window), m_window(window), m_commands(commands)
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);

    if (event->type() == QEvent::ShortcutOverride) {
        // Left unaccepted, the override lets the shortcut run instead of the control's own use
        // of the key.
        if (!m_commands.isShortcut(QKeySequence(key->keyCombination())))
            return false;
        key->ignore();
        return true;
    }

    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && key->key() == Qt::Key_Tab)
        emit nextPageWrapping();
    else if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        emit previousPageWrapping();
    else
        return false;
    key->accept();
    return true;
}
