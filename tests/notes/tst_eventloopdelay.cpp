#include "inistore/delayobject.h"
#include "inistore/inifilemain.h"
#include "notes/eventloopdelay.h"
#include "notes/notesstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class EventLoopDelayTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void waitHandlesEvents();
    void waitInsideAWaitReturnsAtOnce();
    void saveWaitsForTheLockWhileHandlingEvents();
    void saveGivesUpWhenTheLockStaysTaken();

private:
    // Another program holding the lock of the Notes file in dir.
    static QString lockNotesFile(const QTemporaryDir &dir, IniFileMain &otherProgram);
};

QString EventLoopDelayTest::lockNotesFile(const QTemporaryDir &dir, IniFileMain &otherProgram)
{
    const QString path = dir.filePath(QStringLiteral("Quillbox.ini"));
    otherProgram.setFilename(QFile::encodeName(path).toStdString());
    return otherProgram.lockFile() ? path : QString();
}

void EventLoopDelayTest::initTestCase()
{
    installEventLoopDelay();
}

void EventLoopDelayTest::waitHandlesEvents()
{
    bool fired = false;
    QTimer::singleShot(10, this, [&fired] { fired = true; });
    QVERIFY(DelayObject::delay(100));
    QVERIFY(fired);
}

void EventLoopDelayTest::waitInsideAWaitReturnsAtOnce()
{
    bool nestedResult = true;
    bool nestedRan = false;
    QTimer::singleShot(10, this, [&] {
        nestedRan = true;
        nestedResult = DelayObject::delay(60000);
    });
    QVERIFY(DelayObject::delay(100));
    QVERIFY(nestedRan);
    QVERIFY(!nestedResult);
}

void EventLoopDelayTest::saveWaitsForTheLockWhileHandlingEvents()
{
    QTemporaryDir dir;
    IniFileMain otherProgram;
    const QString path = lockNotesFile(dir, otherProgram);
    QVERIFY(!path.isEmpty());
    QTimer::singleShot(250, this, [&otherProgram] { otherProgram.unlockFile(); });

    NotesStore store(nullptr);
    store.setFileName(path);
    NotesSettings settings;
    QVERIFY2(store.write(settings, {StoredPage{QStringLiteral("one"), {}}}, false),
             qPrintable(store.lastError()));
    QVERIFY(!otherProgram.isLocked());
    QVERIFY(QFile::exists(path));
}

void EventLoopDelayTest::saveGivesUpWhenTheLockStaysTaken()
{
    QTemporaryDir dir;
    IniFileMain otherProgram;
    const QString path = lockNotesFile(dir, otherProgram);
    QVERIFY(!path.isEmpty());
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start(50);

    NotesStore store(nullptr);
    store.setFileName(path);
    NotesSettings settings;
    QVERIFY(!store.write(settings, {StoredPage{QStringLiteral("one"), {}}}, false));
    QVERIFY(ticks > 0);
    QVERIFY(store.lastError().contains(dir.path()));
    QVERIFY(!QFile::exists(path));
    otherProgram.unlockFile();
}

QTEST_GUILESS_MAIN(EventLoopDelayTest)
#include "tst_eventloopdelay.moc"
