#include "app/mainwindow.h"
#include "components/dialogseam.h"
#include "components/sessionendwatcher.h"
#include "inistore/delayobject.h"
#include "notes/eventloopdelay.h"
#include "options/hotkeyedit.h"
#include "support/otherlockholder.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace {

const int CtrlShiftQ = 2081;
const int LongWaitMs = 30000;

// A Notes file that cannot be written while a file stands where its folder should be (a
// read-only folder would not stop the tests when they run as root).
QString blockedNotesPath(const QString &inTheWay)
{
    QFile file(inTheWay);
    return file.open(QIODevice::WriteOnly) ? inTheWay + QStringLiteral("/Quillbox.ini") : QString();
}

template <typename T> T *child(QDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

} // namespace

// Saves that cannot have the lock of the Notes file (another program holds it) or cannot write
// the file: Save tells why, an exit inside a save's wait for the lock ends only after that
// save, and the options saved at start-up stay pending.
class LockedSavesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void failedSaveCommandSaysWhy_data();
    void failedSaveCommandSaysWhy();
    void exitDuringTheLockWaitWaitsForTheSave_data();
    void exitDuringTheLockWaitWaitsForTheSave();
    void editsDuringTheLockWaitStayPending();
    void failedStartUpSaveKeepsTheOptionsPending();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void LockedSavesTest::initTestCase()
{
    // The store waits for the lock handling events, as in the program.
    installEventLoopDelay();
}

void LockedSavesTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void LockedSavesTest::cleanup()
{
    m_fixture.reset();
}

void LockedSavesTest::failedSaveCommandSaysWhy_data()
{
    QTest::addColumn<bool>("lockHeld");
    QTest::newRow("lock held by another program") << true;
    QTest::newRow("folder cannot be made") << false;
}

void LockedSavesTest::failedSaveCommandSaysWhy()
{
    QFETCH(bool, lockHeld);
    const QString inTheWay = m_fixture->filePath(QStringLiteral("in the way"));
    const QString path = lockHeld ? m_fixture->notesPath() : blockedNotesPath(inTheWay);
    QVERIFY(!path.isEmpty());
    MainWindow &window = m_fixture->start(path);
    OtherLockHolder otherProgram;
    if (lockHeld)
        QVERIFY(otherProgram.hold(QFileInfo(path).path()));
    m_fixture->type(QStringLiteral("kept"));
    SeamAnswers catcher;

    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(catcher.messages.size(), 1);
    const DialogSeam::Message &message = catcher.messages.first();
    QCOMPARE(message.kind, DialogSeam::Kind::Error);
    QCOMPARE(message.caption, QStringLiteral("Error"));
    QVERIFY2(message.text.startsWith(QStringLiteral("The Notes file could not be saved.")),
             qPrintable(message.text));
    const QString reason = lockHeld ? QStringLiteral("QuillIni.lck") : inTheWay;
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(reason)), qPrintable(message.text));
    QVERIFY(window.notesChanged());

    // Once the way is clear the next Save writes what was typed, and says nothing.
    otherProgram.release();
    QFile::remove(inTheWay);
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(!window.notesChanged());
    QCOMPARE(WindowFixture::pagesIn(path).at(0).record.lines, QStringList{"kept"});
}

void LockedSavesTest::exitDuringTheLockWaitWaitsForTheSave_data()
{
    QTest::addColumn<QString>("exit");
    QTest::addColumn<bool>("releasedInTheWait");
    for (const char *exit : {"Alt+X", "SIGTERM", "log-off"}) {
        QTest::addRow("%s, lock released in the wait", exit) << exit << true;
        QTest::addRow("%s, lock still held: Retry", exit) << exit << false;
    }
}

void LockedSavesTest::exitDuringTheLockWaitWaitsForTheSave()
{
    QFETCH(QString, exit);
    QFETCH(bool, releasedInTheWait);
    MainWindow &window = m_fixture->start();
    SessionEndWatcher sessionEnd;
    connect(&sessionEnd, &SessionEndWatcher::endRequested, &window, &MainWindow::exitProgram);
    OtherLockHolder otherProgram;
    QVERIFY(otherProgram.hold(QFileInfo(m_fixture->notesPath()).path()));
    m_fixture->type(QStringLiteral("typed"));

    // What the file holds at the moment the program would end.
    QSignalSpy exited(&window, &MainWindow::exited);
    QStringList linesAtExit;
    connect(&window, &MainWindow::exited, this, [&] {
        linesAtExit = WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines;
    });
    SeamAnswers catcher;
    catcher.answerWith([&](const DialogSeam::Message &) {
        otherProgram.release();
        return QMessageBox::Retry;
    });
    // The exit is asked for from inside Save's wait for the lock; the other program lets go
    // once the exit has hidden the window (or, when still held, only at the question).
    bool askedWhileWaiting = false;
    QTimer::singleShot(0, this, [&] {
        askedWhileWaiting = DelayObject::isWaiting();
        if (exit == QLatin1String("Alt+X"))
            m_fixture->press(Qt::Key_X, Qt::AltModifier);
        else if (exit == QLatin1String("SIGTERM"))
            std::raise(SIGTERM);
        else
            emit sessionEnd.endRequested();
    });
    QTimer letGo;
    connect(&letGo, &QTimer::timeout, this, [&] {
        if (releasedInTheWait && !window.isVisible())
            otherProgram.release();
    });
    letGo.start(10);

    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(askedWhileWaiting);
    QTRY_COMPARE_WITH_TIMEOUT(exited.count(), 1, LongWaitMs);
    QCOMPARE(linesAtExit, QStringList{"typed"});
    QVERIFY(!window.notesChanged());
    if (releasedInTheWait) {
        QVERIFY2(catcher.messages.isEmpty(), qPrintable(catcher.texts().join(u'|')));
    } else {
        QCOMPARE(catcher.messages.size(), 1);
        QCOMPARE(catcher.messages.first().kind, DialogSeam::Kind::Error);
        QCOMPARE(catcher.messages.first().buttons, QMessageBox::Retry | QMessageBox::Ignore);
    }
    QTest::qWait(0);
    QCOMPARE(exited.count(), 1);
}

void LockedSavesTest::editsDuringTheLockWaitStayPending()
{
    m_fixture->start();
    OtherLockHolder otherProgram;
    QVERIFY(otherProgram.hold(QFileInfo(m_fixture->notesPath()).path()));
    m_fixture->type(QStringLiteral("first"));
    QTimer::singleShot(0, this, [&] {
        m_fixture->type(QStringLiteral(" second"));
        otherProgram.release();
    });

    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_fixture->window().notesChanged());
    QVERIFY(m_fixture->window().saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"first second"});
}

void LockedSavesTest::failedStartUpSaveKeepsTheOptionsPending()
{
    OtherLockHolder otherProgram;
    QVERIFY(otherProgram.hold(QFileInfo(m_fixture->notesPath()).path()));
    // First start: no hot key, so the options dialog opens, and its OK saves while the lock
    // is held.
    SeamAnswers answers([](QDialog &dialog) {
        child<QComboBox>(dialog, "specialKey")->setCurrentIndex(2);
        child<HotKeyEdit>(dialog, "standardKey")->setVirtualKey('Q');
        child<QPushButton>(dialog, "ok")->click();
        return dialog.result();
    });
    MainWindow &window = m_fixture->start({}, WindowFixture::HotKeyStep::Program);
    QCOMPARE(answers.dialogs, QStringList{"OptionsDialog"});
    QCOMPARE(window.settings().hotKeyCode, CtrlShiftQ);
    QVERIFY(window.settingsChanged());

    otherProgram.release();
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::settingsIn(m_fixture->notesPath()).hotKeyCode, CtrlShiftQ);
}

QTEST_MAIN(LockedSavesTest)
#include "tst_lockedsaves.moc"
