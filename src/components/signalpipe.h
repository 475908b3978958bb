#pragma once

#include <QList>
#include <QObject>
#include <csignal>

class QSocketNotifier;

// POSIX signals turned into a Qt signal on the thread that owns this object: the handler only
// writes a byte into a socket pair, and a socket notifier on the other end emits signalled()
// from the event loop. The earlier handlers come back when the object is destroyed. One
// SignalPipe may exist at a time.
class SignalPipe : public QObject
{
    Q_OBJECT

public:
    explicit SignalPipe(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~SignalPipe() override;

signals:
    void signalled();

private:
    void readPipe();

    QList<int> m_signalNumbers;
    QList<struct sigaction> m_previousActions;
    QSocketNotifier *m_notifier = nullptr;
};
