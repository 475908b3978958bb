#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "app/statusline.h"
#include "editor/noteeditor.h"
#include "security/passwordbar.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

namespace {
const QString Placeholder = QStringLiteral("Password Protected Data ");

NotesSettings lockedSettings()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("abc");
    return settings;
}

// Counts the presses of one key that reach a control.
class KeyPressCounter : public QObject
{
public:
    KeyPressCounter(QObject *watched, Qt::Key key) : m_key(key)
    {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == m_key)
            ++count;
        return false;
    }

private:
    Qt::Key m_key;
};

// Opens the menu as a click on its title does, and reads which items are enabled.
QList<bool> enabledWhenOpened(QMenu *menu, const QList<QAction *> &items)
{
    menu->popup(QPoint(0, 0));
    QList<bool> enabled;
    for (const QAction *item : items)
        enabled.append(item->isEnabled());
    menu->hide();
    return enabled;
}
} // namespace

class WindowCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menusHoldTheirCommands();
    void toolButtons();
    void escHides_data();
    void escHides();
    void closeBoxHidesAltXExits();
    void ctrlSSavesOnlyChanges();
    void editMenuEnabling();
    void pagesMenuEnabling_data();
    void pagesMenuEnabling();
    void menuShortcutsBelongToTheWindow_data();
    void menuShortcutsBelongToTheWindow();
    void clipboardCommands_data();
    void clipboardCommands();
    void pasteNeverReachesThePasswordBar();
    void doubleClickCopiesAWord_data();
    void doubleClickCopiesAWord();
    void statusLineFollowsTheCaret();
    void protect_data();
    void protect();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void WindowCommandsTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void WindowCommandsTest::cleanup()
{
    m_fixture.reset();
    QApplication::clipboard()->clear();
}

void WindowCommandsTest::menusHoldTheirCommands()
{
    MainWindow &window = m_fixture->start();
    const QMenuBar *bar = window.commands().menuBar;
    QVERIFY(!bar->isNativeMenuBar());

    QStringList shown;
    for (const QAction *menu : bar->actions()) {
        QStringList items;
        for (const QAction *item : menu->menu()->actions()) {
            items.append(item->isSeparator()
                             ? QStringLiteral("-")
                             : item->text() + QLatin1Char('|') + item->shortcut().toString());
        }
        shown.append(menu->text() + QStringLiteral(": ") + items.join(QStringLiteral(", ")));
    }
    const QStringList expected{
        "&File: &Save|Ctrl+S, -, &Hide|Esc, Protect|Ctrl+D, E&xit|Alt+X",
        "&Edit: Undo|Ctrl+Z, Redo|Ctrl+Shift+Z, -, Cu&t|Ctrl+X, &Copy|Ctrl+C, &Paste|Ctrl+V, "
        "&Delete|, -, Options|Ctrl+O",
        "&Search: &Find|Ctrl+F, Find &Again|F3",
        "Sec&urity: &Set Password|, Disable Password|",
        "&Pages: Previous Page|Ctrl+PgUp, Next Page|Ctrl+PgDown, -, Configure Pages|",
        "&Help: &Help|F1, &About|, &Licence|"};
    QCOMPARE(shown, expected);
    QCOMPARE(window.commands().exit->statusTip(), QStringLiteral("Stop program completely"));
    QCOMPARE(window.commands().find->statusTip(), QStringLiteral("Search text"));
    QCOMPARE(window.commands().findAgain->statusTip(), QStringLiteral("Search Again"));
}

void WindowCommandsTest::toolButtons()
{
    MainWindow &window = m_fixture->start();
    QStringList buttons;
    for (const char *name : {"BtnHide", "BtnProtect", "BtnSave"}) {
        const auto *button = window.findChild<QToolButton *>(QString::fromLatin1(name));
        QVERIFY(button);
        QVERIFY(button->autoRaise());
        buttons.append(button->text() + QLatin1Char('|') + button->toolTip());
    }
    QCOMPARE(buttons, (QStringList{"Hide|Save and Hide",
                                   "Protect|Save notes, disable password and Hide", "Save|Save"}));
    QCOMPARE(window.size(), QSize(666, 577));
    QCOMPARE(window.minimumSize(), QSize(535, 100));
    QCOMPARE(window.objectName(), QStringLiteral("FmMain"));
}

void WindowCommandsTest::escHides_data()
{
    QTest::addColumn<bool>("fromPasswordBar");
    QTest::newRow("from the editor") << false;
    QTest::newRow("from the password bar") << true;
}

void WindowCommandsTest::escHides()
{
    QFETCH(bool, fromPasswordBar);
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("x")}, fromPasswordBar}},
                          lockedSettings());
    MainWindow &window = m_fixture->start();
    QWidget *focus = fromPasswordBar ? static_cast<QWidget *>(window.passwordBar()->passwordEdit())
                                     : window.editor();
    QCOMPARE(QApplication::focusWidget(), focus);
    m_fixture->type(QStringLiteral("ab"));
    QSignalSpy exited(&window, &MainWindow::exited);

    m_fixture->press(Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(exited.count(), 0);
    QVERIFY(!window.exitRequested());
    // Hiding saved what was typed into the page.
    QVERIFY(QFileInfo::exists(m_fixture->notesPath()));
    QVERIFY(!window.notesChanged());
}

void WindowCommandsTest::closeBoxHidesAltXExits()
{
    MainWindow &window = m_fixture->start();
    QSignalSpy exited(&window, &MainWindow::exited);
    QVERIFY(!window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(exited.count(), 0);

    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&window));
    m_fixture->press(Qt::Key_X, Qt::AltModifier);
    QCOMPARE(exited.count(), 1);
    QVERIFY(window.exitRequested());
    QVERIFY(!window.isVisible());
}

void WindowCommandsTest::ctrlSSavesOnlyChanges()
{
    MainWindow &window = m_fixture->start();
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!QFileInfo::exists(m_fixture->notesPath()));

    m_fixture->type(QStringLiteral("q"));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFileInfo::exists(m_fixture->notesPath()));
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("q"));
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.settingsChanged());
    QVERIFY(!window.positionsChanged());

    const QByteArray saved = m_fixture->fileBytes();
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_fixture->fileBytes(), saved);
}

void WindowCommandsTest::editMenuEnabling()
{
    m_fixture->writeNotes(
        {{QStringLiteral("Open"), {}}, {QStringLiteral("Secret"), {QStringLiteral("x")}, true}},
        lockedSettings());
    MainWindow &window = m_fixture->start();
    const WindowCommands &commands = window.commands();
    const QList<QAction *> undoRedo{commands.undo, commands.redo};

    QCOMPARE(enabledWhenOpened(commands.editMenu, undoRedo), (QList<bool>{false, false}));
    m_fixture->type(QStringLiteral("a"));
    QCOMPARE(enabledWhenOpened(commands.editMenu, undoRedo), (QList<bool>{true, false}));
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_fixture->editor().text(), QString());
    QCOMPARE(enabledWhenOpened(commands.editMenu, undoRedo), (QList<bool>{false, true}));
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("a"));

    m_fixture->clickTab(1);
    QCOMPARE(enabledWhenOpened(commands.editMenu, undoRedo), (QList<bool>{false, false}));
    // Closed, the items stay enabled, so their shortcuts always reach the handlers.
    QVERIFY(commands.undo->isEnabled());
    QVERIFY(commands.redo->isEnabled());
}

void WindowCommandsTest::pagesMenuEnabling_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<bool>>("enabled"); // Previous Page, Next Page
    QTest::newRow("first") << 0 << QList<bool>{false, true};
    QTest::newRow("middle") << 1 << QList<bool>{true, true};
    QTest::newRow("last") << 2 << QList<bool>{true, false};
}

void WindowCommandsTest::pagesMenuEnabling()
{
    QFETCH(int, current);
    QFETCH(QList<bool>, enabled);
    m_fixture->writeNotes(
        {{QStringLiteral("One"), {}}, {QStringLiteral("Two"), {}}, {QStringLiteral("Three"), {}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(current);
    const WindowCommands &commands = window.commands();
    QCOMPARE(enabledWhenOpened(commands.pagesMenu, {commands.prev, commands.next}), enabled);
}

void WindowCommandsTest::menuShortcutsBelongToTheWindow_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("text");
    const QString typed = QStringLiteral("one two");
    QTest::newRow("Ctrl+Z undoes") << (Qt::CTRL | Qt::Key_Z) << "Undo" << 1 << QString();
    QTest::newRow("Ctrl+Shift+Z, nothing to redo")
        << (Qt::CTRL | Qt::SHIFT | Qt::Key_Z) << "Redo" << 1 << typed;
    QTest::newRow("Ctrl+X") << (Qt::CTRL | Qt::Key_X) << "Cu&t" << 1 << "one ";
    QTest::newRow("Ctrl+C") << (Qt::CTRL | Qt::Key_C) << "&Copy" << 1 << typed;
    QTest::newRow("Ctrl+V") << (Qt::CTRL | Qt::Key_V) << "&Paste" << 1 << "one clip";
    QTest::newRow("Ctrl+PgDn on the last page")
        << (Qt::CTRL | Qt::Key_PageDown) << "Next Page" << 1 << typed;
    QTest::newRow("Ctrl+PgUp steps back")
        << (Qt::CTRL | Qt::Key_PageUp) << "Previous Page" << 0 << QString();
}

// The Edit and Pages items run through the window however the editor would take the key:
// the item's command runs once (when its menu's handler leaves it enabled), the editor never
// sees the key.
void WindowCommandsTest::menuShortcutsBelongToTheWindow()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, item);
    QFETCH(int, page);
    QFETCH(QString, text);
    m_fixture->writeNotes({{QStringLiteral("First"), {}}, {QStringLiteral("Second"), {}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("one two"));
    NoteEditor &editor = m_fixture->editor();
    editor.setSelStart(4);
    editor.setSelLength(3);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    QVERIFY(editor.hasFocus());
    QAction *action = nullptr;
    for (QAction *candidate : window.actions()) {
        if (candidate->text() == item)
            action = candidate;
    }
    QVERIFY(action);
    QSignalSpy triggered(action, &QAction::triggered);
    KeyPressCounter reachingEditor(&editor, key.key());

    m_fixture->press(key.key(), key.keyboardModifiers());
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(reachingEditor.count, 0);
    QCOMPARE(window.tabBar()->currentIndex(), page);
    QCOMPARE(editor.text(), text);
    QVERIFY(action->isEnabled());
}

void WindowCommandsTest::clipboardCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    const QString before = QStringLiteral("before");
    QTest::newRow("cut") << "cut" << false << "alpha "
                         << "beta";
    QTest::newRow("copy") << "copy" << false << "alpha beta"
                          << "beta";
    QTest::newRow("paste") << "paste" << false << "alpha before" << before;
    QTest::newRow("delete") << "delete" << false << "alpha " << before;
    QTest::newRow("cut, locked") << "cut" << true << Placeholder << before;
    QTest::newRow("copy, locked") << "copy" << true << Placeholder << before;
    QTest::newRow("paste, locked") << "paste" << true << Placeholder << before;
    QTest::newRow("delete, locked") << "delete" << true << Placeholder << before;
}

void WindowCommandsTest::clipboardCommands()
{
    QFETCH(QString, command);
    QFETCH(bool, locked);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("alpha beta")}, locked}},
                          lockedSettings());
    MainWindow &window = m_fixture->start();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    NoteEditor &editor = m_fixture->editor();
    editor.setSelStart(6);
    editor.setSelLength(editor.text().size() - 6);
    const WindowCommands &commands = window.commands();
    const QMap<QString, QAction *> actions{{"cut", commands.cut},
                                           {"copy", commands.copy},
                                           {"paste", commands.paste},
                                           {"delete", commands.deleteSelection}};

    actions.value(command)->trigger();
    QCOMPARE(editor.text(), text);
    QCOMPARE(QApplication::clipboard()->text(), clipboard);
}

void WindowCommandsTest::pasteNeverReachesThePasswordBar()
{
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("x")}, true}},
                          lockedSettings());
    MainWindow &window = m_fixture->start();
    QLineEdit *box = window.passwordBar()->passwordEdit();
    QCOMPARE(QApplication::focusWidget(), box);
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    m_fixture->press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    m_fixture->press(Qt::Key_Return);
    QVERIFY(!window.lockState().revealed());
}

void WindowCommandsTest::doubleClickCopiesAWord_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("copied");
    const QStringList oneLine{QStringLiteral("alpha beta.gamma delta")};
    QTest::newRow("dotted run") << oneLine << 0 << "gamma"
                                << "beta.gamma";
    QTest::newRow("up to the end of the text") << oneLine << 0 << "delta"
                                               << "delta";
    QTest::newRow("first word") << oneLine << 0 << "alpha"
                                << "alpha";
    QTest::newRow("line without a blank")
        << QStringList{"first line", "user@example.org/pw?x=1", "last"} << 1 << "example"
        << "user@example.org/pw?x=1";
}

void WindowCommandsTest::doubleClickCopiesAWord()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    QFETCH(QString, clicked);
    QFETCH(QString, copied);
    m_fixture->writeNotes({{QStringLiteral("Page"), lines}});
    m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    const QString text = editor.text();

    QTextCursor cursor(editor.document());
    cursor.setPosition(editor.document()->findBlockByNumber(line).position() +
                       int(lines.at(line).indexOf(clicked)) + 1);
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, editor.cursorRect(cursor).center());

    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(editor.textCursor().selectedText(), copied);
    QCOMPARE(editor.text(), text);
}

void WindowCommandsTest::statusLineFollowsTheCaret()
{
    m_fixture->writeNotes(
        {{QStringLiteral("Page"), {QStringLiteral("one"), QStringLiteral("two")}}}, {});
    MainWindow &window = m_fixture->start();
    QCOMPARE(window.statusLine()->caretText(), QStringLiteral("Line:   1   Col:   1"));
    m_fixture->press(Qt::Key_Down);
    m_fixture->press(Qt::Key_End);
    QCOMPARE(window.statusLine()->caretText(), QStringLiteral("Line:   2   Col:   4"));
    m_fixture->type(QStringLiteral("!"));
    QCOMPARE(window.statusLine()->caretText(), QStringLiteral("Line:   2   Col:   5"));
}

void WindowCommandsTest::protect_data()
{
    QTest::addColumn<bool>("securityEnabled");
    QTest::newRow("security on: lock and hide") << true;
    QTest::newRow("security off: set a password") << false;
}

void WindowCommandsTest::protect()
{
    QFETCH(bool, securityEnabled);
    NotesSettings settings = lockedSettings();
    settings.securityEnabled = securityEnabled;
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("x")}, true}}, settings);
    MainWindow &window = m_fixture->start();
    window.lockState().setRevealed(true);
    window.pageEnter();
    SeamAnswers answers;

    m_fixture->press(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(window.isVisible(), !securityEnabled);
    QCOMPARE(window.lockState().revealed(), !securityEnabled);
    QCOMPARE(answers.dialogs, securityEnabled ? QStringList() : QStringList{"PasswordDialog"});
    QCOMPARE(window.settingsChanged(), !securityEnabled);
    if (securityEnabled) {
        window.presence().activateOrHide();
        QCOMPARE(m_fixture->editor().text(), Placeholder);
    }
}

QTEST_MAIN(WindowCommandsTest)
#include "tst_windowcommands.moc"
