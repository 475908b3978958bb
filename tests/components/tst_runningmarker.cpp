#include "components/runningmarker.h"

#include <QLocalSocket>
#include <QtTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The local server that marks a running copy: held by the first copy, left to it by a second,
// taken over from a copy that crashed.
class RunningMarkerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstCopyHoldsTheMarkAndAnswers();
    void secondCopyGoesOnWithoutIt();
    void socketOfACrashedCopyIsReplaced();
    void markIsGoneWithTheProcess();

private:
    QString m_name;
};

void RunningMarkerTest::init()
{
    m_name = QStringLiteral("quillbox-test-%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QString::fromLatin1(QTest::currentTestFunction()));
}

void RunningMarkerTest::firstCopyHoldsTheMarkAndAnswers()
{
    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    QLocalSocket probe;
    probe.connectToServer(m_name);
    QVERIFY(probe.waitForConnected(2000));
    QTRY_COMPARE(probe.state(), QLocalSocket::UnconnectedState); // the marker hangs up
}

void RunningMarkerTest::secondCopyGoesOnWithoutIt()
{
    RunningMarker first(m_name);
    RunningMarker second(m_name);
    QVERIFY(first.isHeld());
    QVERIFY(!second.isHeld());
}

void RunningMarkerTest::socketOfACrashedCopyIsReplaced()
{
    const QString path = QDir::tempPath() + u'/' + m_name;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd); // left behind, as by a crash
    QVERIFY(QFile::exists(path));

    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
}

void RunningMarkerTest::markIsGoneWithTheProcess()
{
    {
        RunningMarker marker(m_name);
        QVERIFY(marker.isHeld());
    }
    QLocalSocket probe;
    probe.connectToServer(m_name);
    QVERIFY(!probe.waitForConnected(500));
    RunningMarker next(m_name);
    QVERIFY(next.isHeld());
}

QTEST_GUILESS_MAIN(RunningMarkerTest)
#include "tst_runningmarker.moc"
