#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "editor/noteeditor.h"
#include "notes/pagerecord.h"
#include "security/passwordbar.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {
const QString Placeholder = QStringLiteral("Password Protected Data ");

// The colour a block is drawn in at a position; invalid for the editor's own.
QColor colourAt(const QTextBlock &block, int position)
{
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (position >= range.start && position < range.start + range.length)
            return range.format.foreground().color();
    }
    return {};
}

// The editor's text painted as the screen would paint it.
void paint(NoteEditor &editor)
{
    editor.viewport()->grab();
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    return lines;
}
} // namespace

class PageSwitchingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editsCaretAndUndoSurviveASwitch();
    void topLineSurvivesASwitch();
    void nothingIsSelectedAfterASwitch();
    void stepping_data();
    void stepping();
    void singlePageCtrlTabKeepsTheCaret();
    void ampersandInANameIsNoShortcut_data();
    void ampersandInANameIsNoShortcut();
    void loadingNeverMarksNotesChanged();
    void positionsChanged_data();
    void positionsChanged();
    void emptyLastLineIsDropped_data();
    void emptyLastLineIsDropped();
    void lockedPageStoresNothing();
    void revealOpensEveryProtectedPage();
    void disablePasswordLocksAtOnce();
    void highlightingFollowsTheSettings();
    void coloursFollowWhatTheEditorShows();
    void deletingTheShownPage();
    void emptyPageList();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void PageSwitchingTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void PageSwitchingTest::cleanup()
{
    m_fixture.reset();
}

void PageSwitchingTest::editsCaretAndUndoSurviveASwitch()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("alpha")}},
                           {QStringLiteral("B"), {QStringLiteral("beta")}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();

    m_fixture->press(Qt::Key_End);
    m_fixture->type(QStringLiteral("1"));
    m_fixture->press(Qt::Key_Return);
    m_fixture->type(QStringLiteral("two"));
    m_fixture->press(Qt::Key_Left);
    QCOMPARE(editor.caretX(), 3);
    QCOMPARE(editor.caretY(), 2);

    m_fixture->press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(window.tabBar()->currentIndex(), 1);
    QCOMPARE(editor.text(), QStringLiteral("beta"));
    QVERIFY(!editor.canUndo());
    m_fixture->type(QStringLiteral("X"));

    m_fixture->press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("alpha1\r\ntwo"));
    QCOMPARE(editor.caretX(), 3);
    QCOMPARE(editor.caretY(), 2);
    QCOMPARE(window.pages().lines(0), (QStringList{"alpha1", "two"}));
    QCOMPARE(window.pages().lines(1), QStringList{"Xbeta"});

    // Undo takes back this page's edits, and only those.
    for (int i = 0; i < 20 && editor.canUndo(); ++i)
        m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("alpha"));
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(editor.text() != QStringLiteral("alpha"));

    m_fixture->press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("Xbeta"));
    QVERIFY(editor.canUndo());
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("beta"));
    QVERIFY(!editor.canUndo());
}

void PageSwitchingTest::topLineSurvivesASwitch()
{
    m_fixture->writeNotes({{QStringLiteral("Long"), numberedLines(400)},
                           {QStringLiteral("Short"), {QStringLiteral("short")}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    editor.setTopLine(150);
    QCOMPARE(editor.topLine(), 150);

    m_fixture->clickTab(1);
    QCOMPARE(editor.topLine(), 1);
    m_fixture->clickTab(0);
    QCOMPARE(window.tabBar()->currentIndex(), 0);
    QCOMPARE(editor.topLine(), 150);
}

void PageSwitchingTest::nothingIsSelectedAfterASwitch()
{
    m_fixture->writeNotes(
        {{QStringLiteral("A"), {QStringLiteral("alpha beta")}}, {QStringLiteral("B"), {}}});
    m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    m_fixture->press(Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(editor.selLength(), 10);

    m_fixture->press(Qt::Key_Tab, Qt::ControlModifier);
    m_fixture->press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("alpha beta"));
    QCOMPARE(editor.selLength(), 0);
    QCOMPARE(editor.caretX(), 11);
}

void PageSwitchingTest::stepping_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+PgDn") << 1 << int(Qt::Key_PageDown) << ctrl << 2;
    QTest::newRow("Ctrl+PgDn on the last page") << 2 << int(Qt::Key_PageDown) << ctrl << 2;
    QTest::newRow("Ctrl+PgUp") << 1 << int(Qt::Key_PageUp) << ctrl << 0;
    QTest::newRow("Ctrl+PgUp on the first page") << 0 << int(Qt::Key_PageUp) << ctrl << 0;
    QTest::newRow("Ctrl+Tab") << 0 << int(Qt::Key_Tab) << ctrl << 1;
    QTest::newRow("Ctrl+Tab on the last page") << 2 << int(Qt::Key_Tab) << ctrl << 0;
    QTest::newRow("Ctrl+Shift+Tab") << 2 << int(Qt::Key_Tab) << ctrlShift << 1;
    QTest::newRow("Ctrl+Shift+Tab on the first page") << 0 << int(Qt::Key_Tab) << ctrlShift << 2;
    QTest::newRow("Ctrl+Shift+Backtab on the first page")
        << 0 << int(Qt::Key_Backtab) << ctrlShift << 2;
}

void PageSwitchingTest::stepping()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, to);
    const QList<TestPage> pages{{QStringLiteral("One"), {QStringLiteral("first")}},
                                {QStringLiteral("Two"), {QStringLiteral("second")}},
                                {QStringLiteral("Three"), {QStringLiteral("third")}}};
    m_fixture->writeNotes(pages);
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(from);
    QCOMPARE(window.tabBar()->currentIndex(), from);

    m_fixture->press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window.tabBar()->currentIndex(), to);
    QCOMPARE(m_fixture->editor().text(), pages.at(to).lines.first());
    // The key reached no page as a character.
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(window.pages().lines(i), pages.at(i).lines);
    QVERIFY(!window.notesChanged());
}

void PageSwitchingTest::singlePageCtrlTabKeepsTheCaret()
{
    m_fixture->writeNotes({{QStringLiteral("Only"), {QStringLiteral("alpha beta")}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    editor.setSelStart(6);
    editor.setSelLength(4);

    m_fixture->press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(window.tabBar()->currentIndex(), 0);
    QCOMPARE(editor.text(), QStringLiteral("alpha beta"));
    QCOMPARE(editor.selLength(), 0);
    QCOMPARE(editor.selStart(), 10);
    QCOMPARE(window.pageRecord(0)->selStart, 6);
    QCOMPARE(window.pageRecord(0)->selLength, 4);
}

void PageSwitchingTest::ampersandInANameIsNoShortcut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::newRow("R&D, Alt+D") << QStringLiteral("R&D") << int(Qt::Key_D);
    QTest::newRow("Bread&Butter, Alt+B") << QStringLiteral("Bread&Butter") << int(Qt::Key_B);
    QTest::newRow("&Kitchen, Alt+K") << QStringLiteral("&Kitchen") << int(Qt::Key_K);
}

// Alt and the letter after an '&' in a page name select nothing: a tab that changed behind
// page-leave's back would leave the editor showing one page while typing went to another.
void PageSwitchingTest::ampersandInANameIsNoShortcut()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    m_fixture->writeNotes({{QStringLiteral("Notes"), {QStringLiteral("notes")}},
                           {name, {QStringLiteral("research")}}});
    MainWindow &window = m_fixture->start();
    QCOMPARE(window.tabBar()->pageName(1), name);

    m_fixture->press(Qt::Key(key), Qt::AltModifier);
    QCOMPARE(window.tabBar()->currentIndex(), 0);
    QCOMPARE(window.currentPage(), window.pageRecord(0));
    m_fixture->press(Qt::Key_Home);
    m_fixture->type(QStringLiteral("typed "));
    const QString shown = m_fixture->editor().text();
    QVERIFY(shown.startsWith(QStringLiteral("typed ")));

    // What was typed stays with the page it was typed on.
    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("research"));
    QCOMPARE(window.pages().lines(0), QStringList{shown});
    QCOMPARE(window.pages().lines(1), QStringList{"research"});
}

void PageSwitchingTest::loadingNeverMarksNotesChanged()
{
    m_fixture->writeNotes({{QStringLiteral("A"), numberedLines(50)},
                           {QStringLiteral("B"), {QStringLiteral("beta")}}});
    MainWindow &window = m_fixture->start();
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.pageDirty());
    for (int i = 0; i < 4; ++i)
        m_fixture->press(Qt::Key_Tab, Qt::ControlModifier);
    m_fixture->clickTab(1);
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.pageDirty());
    QVERIFY(!window.settingsChanged());

    m_fixture->type(QStringLiteral("x"));
    QVERIFY(window.notesChanged());
    QVERIFY(window.pageDirty());
}

void PageSwitchingTest::positionsChanged_data()
{
    QTest::addColumn<bool>("moveCaret");
    QTest::newRow("caret moved") << true;
    QTest::newRow("only scrolled") << false;
}

void PageSwitchingTest::positionsChanged()
{
    QFETCH(bool, moveCaret);
    m_fixture->writeNotes({{QStringLiteral("A"), numberedLines(300)}, {QStringLiteral("B"), {}}});
    MainWindow &window = m_fixture->start();
    if (moveCaret)
        m_fixture->press(Qt::Key_Down);
    else
        m_fixture->editor().setTopLine(100);
    QVERIFY(!window.positionsChanged());

    m_fixture->clickTab(1);
    QCOMPARE(window.positionsChanged(), moveCaret);
    QVERIFY(!window.notesChanged());
}

void PageSwitchingTest::emptyLastLineIsDropped_data()
{
    QTest::addColumn<int>("enters");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("one empty last line") << 1 << QStringList{"abc"};
    QTest::newRow("two empty last lines") << 2 << QStringList{"abc", ""};
    QTest::newRow("no empty last line") << 0 << QStringList{"abc"};
}

void PageSwitchingTest::emptyLastLineIsDropped()
{
    QFETCH(int, enters);
    QFETCH(QStringList, kept);
    m_fixture->writeNotes({{QStringLiteral("A"), {}}, {QStringLiteral("B"), {}}});
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("abc"));
    for (int i = 0; i < enters; ++i)
        m_fixture->press(Qt::Key_Return);

    m_fixture->clickTab(1);
    QCOMPARE(window.pages().lines(0), kept);
    m_fixture->clickTab(0);
    QCOMPARE(m_fixture->editor().text(), kept.join(QStringLiteral("\r\n")));
    QCOMPARE(m_fixture->editor().blockCount(), kept.size());
}

void PageSwitchingTest::lockedPageStoresNothing()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("abc");
    m_fixture->writeNotes({{QStringLiteral("Open"), {QStringLiteral("plain")}},
                           {QStringLiteral("Secret"), {QStringLiteral("hidden")}, true}},
                          settings);
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    m_fixture->clickTab(1);

    QCOMPARE(editor.text(), Placeholder);
    QVERIFY(editor.isReadOnly());
    QVERIFY(window.passwordBar()->isVisible());
    QCOMPARE(QApplication::focusWidget(), window.passwordBar()->passwordEdit());

    // Nothing the user does reaches the placeholder.
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("zz"));
    QTest::keyClick(&editor, Qt::Key_Delete);
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    for (Qt::Key key : {Qt::Key_V, Qt::Key_X, Qt::Key_Z})
        QTest::keyClick(&editor, key, Qt::ControlModifier);
    window.commands().deleteSelection->trigger();
    window.commands().paste->trigger();
    QCOMPARE(editor.text(), Placeholder);
    QVERIFY(!window.notesChanged());

    m_fixture->clickTab(0);
    QCOMPARE(editor.text(), QStringLiteral("plain"));
    QCOMPARE(window.pages().lines(1), QStringList{"hidden"});

    // What the file keeps is the page's own text.
    window.setSettingsChanged();
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList{"hidden"});
}

void PageSwitchingTest::revealOpensEveryProtectedPage()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("Pass");
    m_fixture->writeNotes({{QStringLiteral("One"), {QStringLiteral("first")}, true},
                           {QStringLiteral("Two"), {QStringLiteral("second")}, true}},
                          settings);
    MainWindow &window = m_fixture->start();
    QCOMPARE(m_fixture->editor().text(), Placeholder);
    QCOMPARE(window.currentPage(), nullptr);

    m_fixture->type(QStringLiteral("Pass"));
    m_fixture->press(Qt::Key_Return);
    QVERIFY(window.lockState().revealed());
    QVERIFY(window.passwordBar()->isHidden());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("first"));
    QVERIFY(!m_fixture->editor().isReadOnly());
    QCOMPARE(QApplication::focusWidget(), window.editor());

    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("second"));
}

void PageSwitchingTest::disablePasswordLocksAtOnce()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    m_fixture->writeNotes({{QStringLiteral("One"), {QStringLiteral("first")}, true}}, settings);
    MainWindow &window = m_fixture->start();
    // An empty password opens with an empty box.
    m_fixture->press(Qt::Key_Return);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("first"));
    m_fixture->type(QStringLiteral("typed "));

    window.commands().disablePassword->trigger();
    QVERIFY(!window.lockState().revealed());
    QCOMPARE(m_fixture->editor().text(), Placeholder);
    QVERIFY(window.isVisible());
    // The edit made before locking is kept by the page.
    QCOMPARE(window.pages().lines(0), QStringList{"typed first"});
}

void PageSwitchingTest::highlightingFollowsTheSettings()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.keywords = QStringList{"password", "Login", "LOGIN"};
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("login 12")}},
                           {QStringLiteral("B"), {QStringLiteral("pw login")}},
                           {QStringLiteral("C"), {QStringLiteral("x")}, true}},
                          settings);
    MainWindow &window = m_fixture->start();
    const NoteEditor &editor = m_fixture->editor();
    // The colour the first line is drawn in at a position; invalid for the editor's own.
    const auto colourAt = [&](int position) {
        for (const QTextLayout::FormatRange &range :
             editor.document()->firstBlock().layout()->formats()) {
            if (position >= range.start && position < range.start + range.length)
                return range.format.foreground().color();
        }
        return QColor();
    };
    QCOMPARE(window.settings().keywords, (QStringList{"Login", "password"}));
    QCOMPARE(colourAt(0), QColor(Qt::cyan));
    QCOMPARE(colourAt(6), QColor(Qt::yellow));

    window.settings().keyColor = Qt::red;
    window.applySettings();
    QCOMPARE(colourAt(0), QColor(Qt::red));
    m_fixture->clickTab(1);
    QCOMPARE(colourAt(0), QColor());
    QCOMPARE(colourAt(3), QColor(Qt::red));
    m_fixture->clickTab(2);
    QCOMPARE(editor.text(), Placeholder);
    QCOMPARE(colourAt(0), QColor(Qt::red));
    QCOMPARE(colourAt(9), QColor());
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.pageDirty());
}

void PageSwitchingTest::coloursFollowWhatTheEditorShows()
{
    QStringList lines(600, QStringLiteral("plain text"));
    lines.first() = QStringLiteral("user 12");
    lines.last() = QStringLiteral("www 7");
    m_fixture->writeNotes({{QStringLiteral("A"), lines}, {QStringLiteral("B"), {"x"}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    const QTextDocument &page = *editor.document();
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.firstBlock(), 5), QColor(Qt::yellow));
    // Lines far below the screen are not coloured before they are shown.
    QCOMPARE(colourAt(page.lastBlock(), 0), QColor());

    m_fixture->press(Qt::Key_End, Qt::ControlModifier);
    paint(editor);
    QCOMPARE(colourAt(page.lastBlock(), 0), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.lastBlock(), 4), QColor(Qt::yellow));
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.pageDirty());
    QVERIFY(!page.isUndoAvailable());

    m_fixture->press(Qt::Key_Home, Qt::ControlModifier);
    m_fixture->type(QStringLiteral("pw 5 "));
    paint(editor);
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.firstBlock(), 3), QColor(Qt::yellow));
    QCOMPARE(colourAt(page.firstBlock(), 5), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.firstBlock(), 10), QColor(Qt::yellow));

    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    paint(editor);
    QCOMPARE(editor.text().left(8), QStringLiteral("user 12\r"));
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.firstBlock(), 5), QColor(Qt::yellow));
    QCOMPARE(colourAt(page.firstBlock(), 7), QColor());

    // Off screen the page keeps its text and histories but no layout of its lines. It comes
    // back coloured as it was left, at once, and stays so.
    m_fixture->clickTab(1);
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor());
    QVERIFY(page.isRedoAvailable());
    m_fixture->clickTab(0);
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor(Qt::cyan));
    QCOMPARE(colourAt(page.firstBlock(), 5), QColor(Qt::yellow));
    QVERIFY(page.isRedoAvailable());
    paint(editor);
    QCOMPARE(colourAt(page.firstBlock(), 0), QColor(Qt::cyan));
    QVERIFY(!window.pageDirty());
}

void PageSwitchingTest::deletingTheShownPage()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("alpha")}},
                           {QStringLiteral("B"), {QStringLiteral("beta")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("edited "));

    // The page that takes the deleted one's place is entered at once; what was typed on the
    // deleted page goes with it.
    window.deletePage(0);
    QCOMPARE(window.currentPage(), window.pageRecord(0));
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("beta"));
    window.tabBar()->setCurrentIndex(0);
    window.pageEnter();
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("beta"));
    QCOMPARE(window.currentPage(), window.pageRecord(0));
    QCOMPARE(window.pages().lines(0), QStringList{"beta"});
}

void PageSwitchingTest::emptyPageList()
{
    MainWindow &window = m_fixture->start();
    QCOMPARE(window.pageCount(), 4);
    while (window.pageCount() > 0)
        window.deletePage(0);
    window.pageEnter();
    QVERIFY(!window.editor()->isVisible());

    window.pageLeave();
    window.nextPage();
    window.nextPageWrapping();
    window.previousPageWrapping();
    QCOMPARE(window.tabBar()->currentIndex(), -1);

    PageRecord added;
    added.lines = QStringList{"one", "two"};
    added.caretX = 2;
    added.caretY = 2;
    added.topLine = 1;
    QCOMPARE(window.addPage(QStringLiteral("New"), added), 0);
    window.pageEnter();
    QVERIFY(window.editor()->isVisible());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("one\r\ntwo"));
    QCOMPARE(m_fixture->editor().caretY(), 2);
}

QTEST_MAIN(PageSwitchingTest)
#include "tst_pageswitching.moc"
