#pragma once

#include <QObject>
#include <QRect>
#include <functional>

class QWidget;

// How the notes window comes and goes. The hot key and the tray icon show a hidden window,
// bring a covered one to the front and hide one that is in front; a hide goes as far as it
// can: when nothing could bring the window back it is minimized instead. It also keeps the
// bounds the window had when it was last shown, to tell whether the user moved or sized it.
class WindowPresence : public QObject
{
    Q_OBJECT

public:
    // canComeBack: whether a hidden window could be shown again (tray icon or hot key).
    WindowPresence(QWidget &window, std::function<bool()> canComeBack);

    // The start-up's first show: in front, and placed by the window manager before anything
    // is opened over it.
    void showAtStart();
    // The hot key and the tray icon: show a hidden window, bring a covered one to the front,
    // close one that is in front (this window or one of its dialogs is the active window).
    // While a modal dialog of the window is open it is only brought to the front.
    void activateOrHide();
    // "--show": show a hidden window and bring it to the front, never hide it.
    void showInFront();
    // The closing of a shown window: hidden, or when it could not come back (and is not
    // exiting), minimized in its place.
    void hideOrMinimize(bool exiting);

    void rememberBounds();
    bool boundsChanged() const;

signals:
    // A hidden or minimized-as-hidden window is shown again: its page is to be shown afresh.
    void shownAgain();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInFront() const;
    bool isShownInFront() const;
    void bringToFront();
    void waitUntilPlaced();

    QWidget &m_window;
    std::function<bool()> m_canComeBack;
    QRect m_savedBounds;
    bool m_minimizedAsHide = false; // hidden as far as it can be: minimized
};
