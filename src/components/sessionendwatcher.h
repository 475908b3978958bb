#pragma once

#include <QObject>

// Tells the main window that the session is ending and it must save and exit now: the session
// manager's log-off or shutdown (QGuiApplication::commitDataRequest; WM_QUERYENDSESSION on
// Windows) and, on POSIX, SIGTERM, SIGHUP and SIGINT. endRequested() is always emitted on the
// user-interface thread; for the session manager before it gets its answer, for a signal from
// the event loop.
class SessionEndWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionEndWatcher(QObject *parent = nullptr);

signals:
    void endRequested();
};
