#include "windowpresence.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {
constexpr int PlacementWaitMs = 1000;
}

WindowPresence::WindowPresence(QWidget &window, std::function<bool()> canComeBack)
    : m_window(window), m_canComeBack(std::move(canComeBack))
{
    m_window.installEventFilter(this);
}

void WindowPresence::showAtStart()
{
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    waitUntilPlaced();
}

// A new window is placed by the window manager in its own time; what the start-up opens over
// the window (the options dialog, a message) is centred on it only once it stands in its place.
void WindowPresence::waitUntilPlaced()
{
    const QWindow *window = m_window.windowHandle();
    if (!window || window->isExposed())
        return;
    const QDeadlineTimer deadline(PlacementWaitMs);
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (window->isExposed() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
}

void WindowPresence::activateOrHide()
{
    if (isShownInFront() && !QApplication::activeModalWidget()) {
        m_window.close();
        return;
    }
    showInFront();
}

// A window in front stays as it is: asking the window manager again would only move the focus
// away and back.
void WindowPresence::showInFront()
{
    if (isShownInFront())
        return;
    const bool wasVisible = m_window.isVisible();
    bringToFront();
    if (!wasVisible) {
        QCoreApplication::processEvents();
        rememberBounds();
        if (m_window.isVisible())
            emit shownAgain();
    }
}

void WindowPresence::hideOrMinimize(bool exiting)
{
    if (exiting || m_canComeBack()) {
        m_window.hide();
    } else if (!m_minimizedAsHide) {
        m_minimizedAsHide = true;
        m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized);
    }
}

void WindowPresence::rememberBounds()
{
    m_savedBounds = m_window.normalGeometry();
}

bool WindowPresence::boundsChanged() const
{
    return m_window.normalGeometry() != m_savedBounds;
}

bool WindowPresence::isShownInFront() const
{
    return m_window.isVisible() && !m_window.isMinimized() && isInFront();
}

// This window or one of its dialogs has the keyboard. A window hidden and shown again within
// moments holds the window system's focus all along, and the application never hears of its
// activation again: that focus counts as well.
bool WindowPresence::isInFront() const
{
    if (QGuiApplication::focusWindow() && QGuiApplication::focusWindow() == m_window.windowHandle())
        return true;
    for (const QWidget *window = QApplication::activeWindow(); window;
         window = window->parentWidget()) {
        if (window == &m_window)
            return true;
    }
    return false;
}

void WindowPresence::bringToFront()
{
    m_window.show();
    if (m_window.isMinimized())
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.raise();
    m_window.activateWindow();
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

// A window minimized in place of a hide that comes back shows its page afresh, as a hidden
// window does when it is shown again.
bool WindowPresence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowStateChange && m_minimizedAsHide &&
        !m_window.isMinimized()) {
        m_minimizedAsHide = false;
        rememberBounds();
        emit shownAgain();
    }
    return QObject::eventFilter(watched, event);
}
