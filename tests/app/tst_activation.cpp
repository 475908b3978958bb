#include "app/mainwindow.h"
#include "editor/noteeditor.h"
#include "options/hotkeyedit.h"
#include "options/optionsdialog.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString InUse = QStringLiteral("Hot Key combination is already in use please try another");
const QString NotSetUp = QStringLiteral(
    "Hot Key is not set up\rYou will need to use the Tray Icon to Activate Quillbox");
const QString Placeholder = QStringLiteral("Password Protected Data ");
const int CtrlAltN = 1078;
const int CtrlShiftQ = 2081;

// The user picks Ctrl+Shift+Q in the options dialog and presses OK.
int chooseCtrlShiftQ(QDialog &dialog)
{
    dialog.findChild<QComboBox *>(QStringLiteral("specialKey"))->setCurrentIndex(2);
    dialog.findChild<HotKeyEdit *>(QStringLiteral("standardKey"))->setVirtualKey('Q');
    dialog.findChild<QPushButton *>(QStringLiteral("ok"))->click();
    return dialog.result();
}
} // namespace

class ActivationTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registerAppHotKey_data();
    void registerAppHotKey();
    void startUpWithoutWorkingHotKey_data();
    void startUpWithoutWorkingHotKey();
    void hideWithoutWayBackMinimizes_data();
    void hideWithoutWayBackMinimizes();
    void activateOrHideToggles();
    void shownAgainAtOnceTheNextPressHides();
    void aModalDialogIsOnlyBroughtForward();
    void theKeyboardComesBackAfterADialog();
    void trayMenu();
    void trayFollowsTheSetting_data();
    void trayFollowsTheSetting();
    void opensAtTheDesignedBounds();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void ActivationTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void ActivationTest::cleanup()
{
    m_fixture.reset();
}

void ActivationTest::registerAppHotKey_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("grabWorks");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("none: nothing changes") << -1 << true << false << true << QStringList();
    QTest::newRow("free") << CtrlShiftQ << true << true << true << QStringList();
    QTest::newRow("taken") << CtrlShiftQ << false << false << false << QStringList{InUse};
}

void ActivationTest::registerAppHotKey()
{
    QFETCH(int, code);
    QFETCH(bool, grabWorks);
    QFETCH(bool, result);
    QFETCH(bool, registered);
    QFETCH(QStringList, messages);
    MainWindow &window = m_fixture->start();
    QVERIFY(window.hotKey().isRegistered());
    QCOMPARE(m_fixture->grabbedHotKeys(), QList<int>{CtrlAltN});
    SeamAnswers answers;
    window.settings().hotKeyCode = code;
    m_fixture->setHotKeyGrabWorks(grabWorks);

    QCOMPARE(window.hotKey().registerAppHotKey(), result);
    QCOMPARE(window.hotKey().isRegistered(), registered);
    QCOMPARE(m_fixture->grabbedHotKeys().size(), code < 0 ? 1 : 2);
    QCOMPARE(answers.texts(), messages);
    for (const DialogSeam::Message &message : answers.messages) {
        QCOMPARE(message.kind, DialogSeam::Kind::Plain);
        QCOMPARE(message.buttons, QMessageBox::Ok);
    }
}

void ActivationTest::startUpWithoutWorkingHotKey_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("grabWorks");
    QTest::addColumn<bool>("chooseInDialog");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("hotKeyAfter");
    QTest::newRow("none stored, dialog cancelled")
        << -1 << true << false << QStringList{NotSetUp} << -1;
    QTest::newRow("none stored, one chosen") << -1 << true << true << QStringList() << CtrlShiftQ;
    QTest::newRow("stored key taken, dialog cancelled")
        << CtrlAltN << false << false << QStringList{InUse, NotSetUp} << CtrlAltN;
}

void ActivationTest::startUpWithoutWorkingHotKey()
{
    QFETCH(int, stored);
    QFETCH(bool, grabWorks);
    QFETCH(bool, chooseInDialog);
    QFETCH(QStringList, messages);
    QFETCH(int, hotKeyAfter);
    NotesSettings settings;
    settings.hotKeyCode = stored;
    settings.showTrayIcon = false;
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}}, settings);
    m_fixture->setHotKeyGrabWorks(grabWorks);
    bool visibleInDialog = false;
    SeamAnswers answers([&](QDialog &dialog) {
        visibleInDialog = m_fixture->window().isVisible();
        return chooseInDialog ? chooseCtrlShiftQ(dialog) : int(QDialog::Rejected);
    });

    MainWindow &window = m_fixture->start({}, WindowFixture::HotKeyStep::Program);
    QCOMPARE(answers.dialogs, QStringList{"OptionsDialog"});
    QVERIFY(visibleInDialog);
    QCOMPARE(answers.texts(), messages);
    QCOMPARE(window.settings().hotKeyCode, hotKeyAfter);
    QCOMPARE(window.hotKey().isRegistered(), chooseInDialog);
    QCOMPARE(window.tray().isWanted(), !chooseInDialog);
    QCOMPARE(window.windowTitle().contains(QStringLiteral("Ctrl+Shift+Q = Activate")),
             chooseInDialog);
    // The start-up went on: the page is shown and nothing is left to save.
    QVERIFY(window.isVisible());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("text"));
    QVERIFY(!window.settingsChanged());
    QCOMPARE(WindowFixture::settingsIn(m_fixture->notesPath()).hotKeyCode,
             chooseInDialog ? CtrlShiftQ : stored);
}

void ActivationTest::hideWithoutWayBackMinimizes_data()
{
    QTest::addColumn<bool>("hotKeyWorks");
    QTest::newRow("hot key registered: hidden") << true;
    QTest::newRow("no hot key, no tray: minimized") << false;
}

void ActivationTest::hideWithoutWayBackMinimizes()
{
    QFETCH(bool, hotKeyWorks);
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("pw");
    settings.hideDisablesPassword = true;
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("hidden")}, true}}, settings);
    m_fixture->setHotKeyGrabWorks(hotKeyWorks);
    SeamAnswers answers;
    MainWindow &window = m_fixture->start();
    QVERIFY(!window.tray().isActive());
    window.lockState().setRevealed(true);
    window.pageEnter();
    m_fixture->press(Qt::Key_End);
    m_fixture->type(QStringLiteral(" typed"));

    m_fixture->press(Qt::Key_Escape);
    QCOMPARE(window.isVisible(), !hotKeyWorks);
    QCOMPARE(window.isMinimized(), !hotKeyWorks);
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"hidden typed"});
    QVERIFY(m_fixture->editor().text().isEmpty());

    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
    QCOMPARE(m_fixture->editor().text(), Placeholder);
}

void ActivationTest::activateOrHideToggles()
{
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("new "));

    window.presence().activateOrHide();
    QVERIFY(!window.isVisible());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"new text"});

    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The offscreen platform keeps the focus window through a hide, so QApplication never
    // hears of the activation again; the window system's focus window is what counts here.
    QCOMPARE(QGuiApplication::focusWindow(), window.windowHandle());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("new text"));

    window.showMinimized();
    window.presence().activateOrHide();
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
}

// Hidden and shown again within moments, the window keeps the window system's focus while the
// application never hears of the activation again (on X11 within the focus-out grace time; the
// offscreen platform always): the next press still finds it in front and hides it.
void ActivationTest::shownAgainAtOnceTheNextPressHides()
{
    MainWindow &window = m_fixture->start();
    window.presence().activateOrHide();
    QVERIFY(!window.isVisible());
    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QCOMPARE(QGuiApplication::focusWindow(), window.windowHandle());

    window.presence().activateOrHide();
    QVERIFY(!window.isVisible());
    window.presence().showInFront();
    QVERIFY(window.isVisible());
    window.presence().showInFront();
    QVERIFY(window.isVisible());
}

void ActivationTest::aModalDialogIsOnlyBroughtForward()
{
    MainWindow &window = m_fixture->start();
    bool visibleAfterHotKey = false;
    bool dialogActive = false;
    SeamAnswers answers([&](QDialog &dialog) {
        dialog.open();
        dialogActive = QTest::qWaitForWindowActive(&dialog);
        window.presence().activateOrHide();
        visibleAfterHotKey = window.isVisible() && dialog.isVisible();
        dialog.reject();
        return int(QDialog::Rejected);
    });

    m_fixture->press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(answers.dialogs, QStringList{"OptionsDialog"});
    QVERIFY(dialogActive);
    QVERIFY(visibleAfterHotKey);
    QVERIFY(answers.messages.isEmpty());
}

// The window system may leave the keyboard nowhere, or with the closing dialog, when two
// dialogs close at once; a stray window taking it stands for that here.
void ActivationTest::theKeyboardComesBackAfterADialog()
{
    MainWindow &window = m_fixture->start();
    QWidget stray;
    bool dialogActive = false;
    bool strayActive = false;
    SeamAnswers answers([&](QDialog &dialog) {
        dialog.open();
        dialogActive = QTest::qWaitForWindowActive(&dialog);
        stray.show();
        stray.activateWindow();
        strayActive = QTest::qWaitForWindowActive(&stray);
        dialog.reject();
        return dialog.result();
    });

    window.commands().setPassword->trigger();
    QCOMPARE(answers.dialogs, QStringList{"PasswordDialog"});
    QVERIFY(dialogActive);
    QVERIFY(strayActive);
    QTRY_COMPARE(QGuiApplication::focusWindow(), window.windowHandle());
}

void ActivationTest::trayMenu()
{
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}});
    MainWindow &window = m_fixture->start();
    TrayIcon &tray = window.tray().icon();
    QCOMPARE(tray.toolTip(), QStringLiteral("Activate Quillbox"));
    const QList<QAction *> items = tray.menu()->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items.at(0)->text(), QStringLiteral("Quillbox"));
    QVERIFY(!items.at(0)->isEnabled());
    QVERIFY(items.at(1)->isSeparator());

    m_fixture->type(QStringLiteral("tray "));
    items.at(3)->trigger(); // Hide
    QVERIFY(!window.isVisible());
    QVERIFY(!window.exitRequested());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"tray text"});

    items.at(2)->trigger(); // Activate
    QVERIFY(window.isVisible());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("tray text"));

    QSignalSpy exited(&window, &MainWindow::exited);
    items.at(4)->trigger(); // Exit
    QCOMPARE(exited.count(), 1);
    QVERIFY(!window.isVisible());
}

void ActivationTest::trayFollowsTheSetting_data()
{
    QTest::addColumn<bool>("showTrayIcon");
    QTest::newRow("Show Tray Icon") << true;
    QTest::newRow("no tray icon") << false;
}

void ActivationTest::trayFollowsTheSetting()
{
    QFETCH(bool, showTrayIcon);
    NotesSettings settings;
    settings.showTrayIcon = showTrayIcon;
    m_fixture->writeNotes({{QStringLiteral("Page"), {}}}, settings);
    MainWindow &window = m_fixture->start();
    QCOMPARE(window.tray().isWanted(), showTrayIcon);
}

// With no bounds in the Notes file the window opens where it was designed to, on the screen.
void ActivationTest::opensAtTheDesignedBounds()
{
    MainWindow &window = m_fixture->start();
    const QRect workArea = window.screen()->availableGeometry();
    QVERIFY(workArea.contains(QPoint(249, 109)));
    QCOMPARE(window.normalGeometry(), QRect(249, 109, 666, 577));
}

QTEST_MAIN(ActivationTest)
#include "tst_activation.moc"
