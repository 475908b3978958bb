#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "app/startupoptions.h"
#include "components/dialogseam.h"
#include "editor/noteeditor.h"
#include "security/passwordbar.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

namespace {
// A Notes file that cannot be written while a file stands where its folder should be.
QString blockedNotesPath(const QString &inTheWay)
{
    QFile file(inTheWay);
    return file.open(QIODevice::WriteOnly) ? inTheWay + QStringLiteral("/Quillbox.ini") : QString();
}

} // namespace

class NotesSavingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveAndRestart_data();
    void saveAndRestart();
    void failedSaveKeepsTheFlags_data();
    void failedSaveKeepsTheFlags();
    void failedSaveAtExitAsks_data();
    void failedSaveAtExitAsks();
    void unreadableFileIsReportedOnce();
    void hideDisablesPassword_data();
    void hideDisablesPassword();
    void movingTheWindowIsSavedAtHide_data();
    void movingTheWindowIsSavedAtHide();
    void deactivationSaves();
    void startUpHides_data();
    void startUpHides();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void NotesSavingTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void NotesSavingTest::cleanup()
{
    m_fixture.reset();
}

void NotesSavingTest::saveAndRestart_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximized") << true;
}

void NotesSavingTest::saveAndRestart()
{
    QFETCH(bool, maximized);
    const QString path = m_fixture->filePath(QStringLiteral("elsewhere/My notes.ini"));
    const StartUpOptions options =
        StartUpOptions::parse({QStringLiteral("quillbox"), QStringLiteral("--notes"), path});
    MainWindow &window = m_fixture->start(options.notesFile);
    QCOMPARE(window.pageCount(), 4);
    window.setGeometry(40, 50, 600, 420);
    if (maximized)
        window.showMaximized();

    m_fixture->type(QStringLiteral("Café £ 12.50"));
    m_fixture->press(Qt::Key_Return);
    m_fixture->type(QStringLiteral("pw: 1234"));
    m_fixture->press(Qt::Key_Home);
    m_fixture->press(Qt::Key_PageDown, Qt::ControlModifier);
    m_fixture->press(Qt::Key_PageDown, Qt::ControlModifier);
    m_fixture->type(QStringLiteral("third"));
    QSignalSpy exited(&window, &MainWindow::exited);
    m_fixture->press(Qt::Key_X, Qt::AltModifier);
    QCOMPARE(exited.count(), 1);
    m_fixture->discard();
    QVERIFY(QFileInfo::exists(path));

    MainWindow &again = m_fixture->start(path);
    QCOMPARE(again.pageCount(), 4);
    QStringList names;
    for (int i = 0; i < again.pageCount(); ++i)
        names.append(again.tabBar()->pageName(i));
    QCOMPARE(names, (QStringList{"Reminders", "ToDo", "General", "Passwords"}));
    QCOMPARE(again.pages().lines(0), (QStringList{"Café £ 12.50", "pw: 1234"}));
    QCOMPARE(again.pages().lines(2), QStringList{"third"});
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("Café £ 12.50\r\npw: 1234"));
    QCOMPARE(m_fixture->editor().caretY(), 2);
    QCOMPARE(m_fixture->editor().caretX(), 1);
    QCOMPARE(again.isMaximized(), maximized);
    QCOMPARE(again.normalGeometry(), QRect(40, 50, 600, 420));
    QVERIFY(!again.notesChanged());
}

void NotesSavingTest::failedSaveKeepsTheFlags_data()
{
    QTest::addColumn<bool>("hideDisablesPassword");
    QTest::newRow("plain hide") << false;
    QTest::newRow("hide disables password") << true;
}

void NotesSavingTest::failedSaveKeepsTheFlags()
{
    QFETCH(bool, hideDisablesPassword);
    const QString inTheWay = m_fixture->filePath(QStringLiteral("in the way"));
    const QString path = blockedNotesPath(inTheWay);
    QVERIFY(!path.isEmpty());
    MainWindow &window = m_fixture->start(path);
    window.settings().hideDisablesPassword = hideDisablesPassword;
    m_fixture->type(QStringLiteral("kept"));
    SeamAnswers catcher;

    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(window.notesChanged());
    QCOMPARE(catcher.messages.size(), 1); // Save says why; a hide does not
    m_fixture->press(Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(window.notesChanged());
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(!QFileInfo::exists(path));

    // The next save, once the file can be written, writes what was typed.
    QVERIFY(QFile::remove(inTheWay));
    QVERIFY(window.saveNotes());
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.positionsChanged());
    const QList<StoredPage> pages = WindowFixture::pagesIn(path);
    QCOMPARE(pages.size(), 4);
    QCOMPARE(pages.at(0).record.lines, QStringList{"kept"});
    QCOMPARE(pages.at(0).record.caretX, 5);
}

void NotesSavingTest::failedSaveAtExitAsks_data()
{
    QTest::addColumn<bool>("retry");
    QTest::newRow("retry once the way is clear") << true;
    QTest::newRow("exit anyway") << false;
}

void NotesSavingTest::failedSaveAtExitAsks()
{
    QFETCH(bool, retry);
    const QString inTheWay = m_fixture->filePath(QStringLiteral("in the way"));
    const QString path = blockedNotesPath(inTheWay);
    QVERIFY(!path.isEmpty());
    MainWindow &window = m_fixture->start(path);
    m_fixture->type(QStringLiteral("typed"));
    QSignalSpy exited(&window, &MainWindow::exited);
    SeamAnswers catcher;
    catcher.answerWith([&](const DialogSeam::Message &) {
        if (!retry)
            return QMessageBox::Ignore;
        QFile::remove(inTheWay);
        return QMessageBox::Retry;
    });

    m_fixture->press(Qt::Key_X, Qt::AltModifier);
    QCOMPARE(exited.count(), 1);
    QCOMPARE(catcher.messages.size(), 1);
    const DialogSeam::Message &message = catcher.messages.first();
    QCOMPARE(message.kind, DialogSeam::Kind::Error);
    QCOMPARE(message.buttons, QMessageBox::Retry | QMessageBox::Ignore);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(inTheWay)), qPrintable(message.text));
    QCOMPARE(QFileInfo::exists(path), retry);
    if (retry)
        QCOMPARE(WindowFixture::pagesIn(path).at(0).record.lines, QStringList{"typed"});
}

void NotesSavingTest::unreadableFileIsReportedOnce()
{
    QVERIFY(QDir().mkdir(m_fixture->notesPath()));
    SeamAnswers catcher;
    MainWindow &window = m_fixture->start();
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(catcher.messages.first().kind, DialogSeam::Kind::Error);
    QVERIFY(
        catcher.messages.first().text.contains(QDir::toNativeSeparators(m_fixture->notesPath())));
    QCOMPARE(window.pageCount(), 4);

    m_fixture->type(QStringLiteral("x"));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    m_fixture->press(Qt::Key_Escape);
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(QFileInfo(m_fixture->notesPath()).isDir());
}

void NotesSavingTest::hideDisablesPassword_data()
{
    QTest::addColumn<bool>("hideDisablesPassword");
    QTest::newRow("hide disables password") << true;
    QTest::newRow("hide keeps the lock open") << false;
}

void NotesSavingTest::hideDisablesPassword()
{
    QFETCH(bool, hideDisablesPassword);
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("pw");
    settings.hideDisablesPassword = hideDisablesPassword;
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("hidden")}, true}}, settings);
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("pw"));
    m_fixture->press(Qt::Key_Return);
    m_fixture->press(Qt::Key_End);
    m_fixture->type(QStringLiteral(" text"));

    m_fixture->press(Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.lockState().revealed(), !hideDisablesPassword);
    QCOMPARE(m_fixture->editor().text().isEmpty(), hideDisablesPassword);
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"hidden text"});

    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QCOMPARE(window.passwordBar()->isVisible(), hideDisablesPassword);
    QCOMPARE(m_fixture->editor().text(), hideDisablesPassword
                                             ? QStringLiteral("Password Protected Data ")
                                             : QStringLiteral("hidden text"));
    QCOMPARE(window.pages().lines(0), QStringList{"hidden text"});
}

void NotesSavingTest::movingTheWindowIsSavedAtHide_data()
{
    QTest::addColumn<bool>("moved");
    QTest::newRow("moved") << true;
    QTest::newRow("not moved") << false;
}

void NotesSavingTest::movingTheWindowIsSavedAtHide()
{
    QFETCH(bool, moved);
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}});
    MainWindow &window = m_fixture->start();
    const QByteArray before = m_fixture->fileBytes();
    if (moved)
        window.move(window.pos() + QPoint(10, 10));

    m_fixture->press(Qt::Key_Escape);
    QCOMPARE(m_fixture->fileBytes() != before, moved);
}

void NotesSavingTest::deactivationSaves()
{
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("typed"));
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QVERIFY(!window.notesChanged());
    QVERIFY(window.isVisible());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"typed"});
}

void NotesSavingTest::startUpHides_data()
{
    QTest::addColumn<bool>("startHidden");
    QTest::addColumn<bool>("hideArgument");
    QTest::newRow("shown") << false << false;
    QTest::newRow("Minimize on Startup") << true << false;
    QTest::newRow("/HIDE") << false << true;
}

void NotesSavingTest::startUpHides()
{
    QFETCH(bool, startHidden);
    QFETCH(bool, hideArgument);
    NotesSettings settings;
    settings.startHidden = startHidden;
    settings.hotKeyCode = 1078;
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}}, settings);
    const QByteArray before = m_fixture->fileBytes();
    MainWindow &window = m_fixture->create();
    QList<int> grabbed;
    window.hotKey().setGrab([&](int code) {
        grabbed.append(code);
        [&] { QVERIFY(window.isVisible()); }();
        return true;
    });

    window.startUp(hideArgument);
    QCOMPARE(grabbed, QList<int>{1078});
    QVERIFY(window.hotKey().isRegistered());
    QCOMPARE(window.isVisible(), !startHidden && !hideArgument);
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Quillbox by Brackmoor    (Esc = Hide  Ctrl+Alt+N = Activate)"));
    QCOMPARE(window.editor()->text(), QStringLiteral("text"));
    QCOMPARE(m_fixture->fileBytes(), before);
}

QTEST_MAIN(NotesSavingTest)
#include "tst_notessaving.moc"
