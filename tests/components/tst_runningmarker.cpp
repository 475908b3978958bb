#include "components/runningmarker.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Command = RunningMarker::Command;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_mode & 07777;
}

void setMode(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// A client that sends bytes and hangs up, as another program might.
void sendRaw(const QString &address, const QByteArray &bytes)
{
    QLocalSocket client;
    client.connectToServer(address);
    QVERIFY(client.waitForConnected(2000));
    client.write(bytes);
    QVERIFY(client.waitForBytesWritten(2000));
    client.disconnectFromServer();
}

} // namespace

// The local server that marks a running copy and takes "--toggle" / "--show" from a second
// process: held by the first copy, left to it by a second, taken over from a copy that crashed,
// in a folder no other user can reach, and never held up by a client.
class RunningMarkerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstCopyHoldsTheMarkAndAnswers();
    void secondCopyGoesOnWithoutIt();
    void socketOfACrashedCopyIsReplaced();
    void markIsGoneWithTheProcess();
    void socketLivesInTheRuntimeFolder();
    void runtimeFolderOthersCanReachIsNotUsed_data();
    void runtimeFolderOthersCanReachIsNotUsed();
    void cacheFolderOpenToOthersIsClosed();
    void folderOfAnotherUserIsNotUsed();
    void commandsReachTheRunningCopy_data();
    void commandsReachTheRunningCopy();
    void unknownMessagesAreIgnored_data();
    void unknownMessagesAreIgnored();
    void silentClientIsDroppedWhileCommandsGoOn();
    void sendWithoutARunningCopyFails();

private:
    QString m_name;
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_runtime;
    QString m_cache;
};

void RunningMarkerTest::init()
{
    m_name = QStringLiteral("quillbox-test-%1").arg(QCoreApplication::applicationPid());
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_runtime = m_home->filePath(QStringLiteral("runtime"));
    m_cache = m_home->filePath(QStringLiteral("cache"));
    QVERIFY(QDir().mkpath(m_runtime));
    setMode(m_runtime, 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache));
}

void RunningMarkerTest::cleanup()
{
    m_home.reset();
}

void RunningMarkerTest::firstCopyHoldsTheMarkAndAnswers()
{
    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    QLocalSocket probe;
    probe.connectToServer(RunningMarker::serverAddress(m_name));
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
    const QString path = RunningMarker::serverAddress(m_name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd); // left behind, as by a crash
    QVERIFY(QFile::exists(path));

    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    QSignalSpy received(&marker, &RunningMarker::commandReceived);
    QVERIFY(RunningMarker::send(Command::Show, QString(), m_name));
    QTRY_COMPARE(received.size(), 1);
}

void RunningMarkerTest::markIsGoneWithTheProcess()
{
    {
        RunningMarker marker(m_name);
        QVERIFY(marker.isHeld());
    }
    QLocalSocket probe;
    probe.connectToServer(RunningMarker::serverAddress(m_name));
    QVERIFY(!probe.waitForConnected(500));
    RunningMarker next(m_name);
    QVERIFY(next.isHeld());
}

void RunningMarkerTest::socketLivesInTheRuntimeFolder()
{
    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    QCOMPARE(marker.serverAddress(m_name), m_runtime + u'/' + m_name);
    QVERIFY(QFile::exists(m_runtime + u'/' + m_name));
}

void RunningMarkerTest::runtimeFolderOthersCanReachIsNotUsed_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("viaLink");
    QTest::newRow("open to all") << 0777 << false;
    QTest::newRow("readable by all") << 0755 << false;
    QTest::newRow("writable by the group") << 0770 << false;
    QTest::newRow("sticky and open, like /tmp") << 01777 << false;
    QTest::newRow("a link to a private folder") << 0700 << true;
}

void RunningMarkerTest::runtimeFolderOthersCanReachIsNotUsed()
{
    QFETCH(int, mode);
    QFETCH(bool, viaLink);
    setMode(m_runtime, static_cast<mode_t>(mode));
    if (viaLink) {
        const QString link = m_home->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(m_runtime, link));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(link));
    }

    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    const QString folder = m_cache + QStringLiteral("/quillbox");
    QCOMPARE(RunningMarker::serverAddress(m_name), folder + u'/' + m_name);
    QCOMPARE(modeOf(folder), mode_t(0700));
    QVERIFY(!QFile::exists(m_runtime + u'/' + m_name));
}

void RunningMarkerTest::cacheFolderOpenToOthersIsClosed()
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = m_cache + QStringLiteral("/quillbox");
    QVERIFY(QDir().mkpath(folder));
    setMode(folder, 0777);

    RunningMarker marker(m_name);
    QVERIFY(marker.isHeld());
    QCOMPARE(modeOf(folder), mode_t(0700));
    QVERIFY(QFile::exists(folder + u'/' + m_name));
}

void RunningMarkerTest::folderOfAnotherUserIsNotUsed()
{
    if (::geteuid() != 0)
        QSKIP("handing a folder to another user takes root");
    const QString folder = m_cache + QStringLiteral("/quillbox");
    QVERIFY(QDir().mkpath(folder));
    setMode(folder, 0700);
    const uid_t stranger = 65534;
    QCOMPARE(::chown(QFile::encodeName(m_runtime).constData(), stranger, stranger), 0);
    QCOMPARE(::chown(QFile::encodeName(folder).constData(), stranger, stranger), 0);

    RunningMarker marker(m_name);
    QVERIFY(!marker.isHeld());
    QVERIFY(RunningMarker::serverAddress(m_name).isEmpty());
    QVERIFY(!RunningMarker::send(Command::Toggle, QString(), m_name));
    QVERIFY(QDir(m_runtime).isEmpty());
    QVERIFY(QDir(folder).isEmpty());
}

void RunningMarkerTest::commandsReachTheRunningCopy_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("token");
    QTest::newRow("toggle") << Command::Toggle << QString();
    QTest::newRow("show") << Command::Show << QString();
    QTest::newRow("toggle with a token") << Command::Toggle << QStringLiteral("kwin-42_abc:1");
    QTest::newRow("show with a token") << Command::Show << QStringLiteral("x");
}

void RunningMarkerTest::commandsReachTheRunningCopy()
{
    QFETCH(Command, command);
    QFETCH(QString, token);
    RunningMarker marker(m_name);
    QSignalSpy received(&marker, &RunningMarker::commandReceived);

    QVERIFY(RunningMarker::send(command, token, m_name));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).value<Command>(), command);
    QCOMPARE(received.at(0).at(1).toString(), token);
}

void RunningMarkerTest::unknownMessagesAreIgnored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("another word") << QByteArray("quit\n");
    QTest::newRow("upper case") << QByteArray("TOGGLE\n");
    QTest::newRow("no line end") << QByteArray("toggle");
    QTest::newRow("two words after it") << QByteArray("show a b\n");
    QTest::newRow("a control character in the token") << QByteArray("show a\tb\n");
    QTest::newRow("empty line") << QByteArray("\n");
    QTest::newRow("a long line") << QByteArray("toggle " + QByteArray(5000, 'x') + '\n');
    QTest::newRow("binary") << QByteArray("\x00\xff\x01toggle\n", 10);
}

void RunningMarkerTest::unknownMessagesAreIgnored()
{
    QFETCH(QByteArray, bytes);
    RunningMarker marker(m_name);
    QSignalSpy received(&marker, &RunningMarker::commandReceived);

    sendRaw(RunningMarker::serverAddress(m_name), bytes);
    // A good command sent after it is the first thing the running copy acts on.
    QVERIFY(RunningMarker::send(Command::Show, QString(), m_name));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).value<Command>(), Command::Show);
    QCOMPARE(received.at(0).at(1).toString(), QString());
}

void RunningMarkerTest::silentClientIsDroppedWhileCommandsGoOn()
{
    RunningMarker marker(m_name);
    marker.setSilenceLimit(200);
    QSignalSpy received(&marker, &RunningMarker::commandReceived);
    QLocalSocket silent;
    silent.connectToServer(RunningMarker::serverAddress(m_name));
    QVERIFY(silent.waitForConnected(2000));

    QVERIFY(RunningMarker::send(Command::Toggle, QString(), m_name));
    QTRY_COMPARE(received.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 10000);
    QVERIFY(RunningMarker::send(Command::Toggle, QString(), m_name));
    QTRY_COMPARE(received.size(), 2);
}

void RunningMarkerTest::sendWithoutARunningCopyFails()
{
    QVERIFY(!RunningMarker::send(Command::Toggle, QString(), m_name));
    QVERIFY(!RunningMarker::send(Command::Show, QStringLiteral("t"), m_name));
}

QTEST_GUILESS_MAIN(RunningMarkerTest)
#include "tst_runningmarker.moc"
