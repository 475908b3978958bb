#include "focusreturn.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace {

// The window a dialog belongs to, when it belongs to window or to one of its dialogs.
QWidget *ownerWithin(const QDialog &dialog, const QWidget &window)
{
    QWidget *owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    for (const QWidget *ancestor = owner; ancestor; ancestor = ancestor->parentWidget()) {
        if (ancestor == &window)
            return owner;
    }
    return nullptr;
}

} // namespace

FocusReturn::FocusReturn(QWidget &window) : QObject(&window), m_window(window)
{
    qApp->installEventFilter(this);
}

FocusReturn::~FocusReturn()
{
    qApp->removeEventFilter(this);
}

bool FocusReturn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Hide)
        return false;
    const auto *dialog = qobject_cast<QDialog *>(watched);
    if (!dialog || !dialog->isModal())
        return false;
    // Once the dialog is gone: the owner, if it is still shown and no other dialog stands over
    // it by then.
    const QPointer<QWidget> owner = ownerWithin(*dialog, m_window);
    if (!owner)
        return false;
    QTimer::singleShot(0, this, [owner] {
        const QWidget *modal = QApplication::activeModalWidget();
        if (!owner || !owner->isVisible() || owner->isMinimized() || (modal && modal != owner))
            return;
        owner->raise();
        owner->activateWindow();
    });
    return false;
}
