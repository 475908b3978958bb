#include "components/sessionendwatcher.h"

#include <QSignalSpy>
#include <QtTest>
#include <csignal>

// The end of the session reaches the main window as one signal on its own thread: SIGTERM,
// SIGHUP and SIGINT are carried from their handlers into the event loop.
class SessionEndWatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void signalBecomesEndRequestOnTheEventLoop_data();
    void signalBecomesEndRequestOnTheEventLoop();
    void everySignalIsOneRequest();
    void earlierHandlerComesBackAfterwards();
};

namespace {

volatile std::sig_atomic_t earlierHandlerRan = 0;

void earlierHandler(int)
{
    earlierHandlerRan = 1;
}

} // namespace

void SessionEndWatcherTest::signalBecomesEndRequestOnTheEventLoop_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void SessionEndWatcherTest::signalBecomesEndRequestOnTheEventLoop()
{
    QFETCH(int, signalNumber);
    SessionEndWatcher watcher;
    QSignalSpy ended(&watcher, &SessionEndWatcher::endRequested);
    QThread *emittedOn = nullptr;
    connect(&watcher, &SessionEndWatcher::endRequested, this,
            [&] { emittedOn = QThread::currentThread(); });

    QCOMPARE(std::raise(signalNumber), 0);
    QCOMPARE(ended.count(), 0); // not from inside the handler
    QVERIFY(ended.wait(5000));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(emittedOn, QThread::currentThread());
}

void SessionEndWatcherTest::everySignalIsOneRequest()
{
    SessionEndWatcher watcher;
    QSignalSpy ended(&watcher, &SessionEndWatcher::endRequested);
    std::raise(SIGTERM);
    std::raise(SIGHUP);
    QTRY_COMPARE(ended.count(), 2);
}

void SessionEndWatcherTest::earlierHandlerComesBackAfterwards()
{
    std::signal(SIGHUP, earlierHandler);
    {
        SessionEndWatcher watcher;
        QSignalSpy ended(&watcher, &SessionEndWatcher::endRequested);
        std::raise(SIGHUP);
        QVERIFY(ended.wait(5000));
        QCOMPARE(earlierHandlerRan, 0);
    }
    std::raise(SIGHUP);
    QCOMPARE(earlierHandlerRan, 1);
    std::signal(SIGHUP, SIG_DFL);
}

QTEST_MAIN(SessionEndWatcherTest)
#include "tst_sessionendwatcher.moc"
