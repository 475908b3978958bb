#include "app/mainwindow.h"
#include "app/pagesession.h"
#include "app/pagetabbar.h"
#include "app/windowpages.h"
#include "editor/noteeditor.h"
#include "notes/eventloopdelay.h"
#include "notes/pagerecord.h"
#include "search/pagesearch.h"
#include "support/otherlockholder.h"
#include "support/windowfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace {
const QString Placeholder = QStringLiteral("Password Protected Data ");

const QList<TestPage> ThreePages{{QStringLiteral("One"), {QStringLiteral("first")}},
                                 {QStringLiteral("Two"), {QStringLiteral("second")}},
                                 {QStringLiteral("Three"), {QStringLiteral("third")}}};

} // namespace

// The pages of the notes window: the editor always shows the page of the selected tab, whatever
// changed the selection; each page's document knows whether it changed since it was written;
// a page's text can be replaced from outside the editor.
class PageSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selectingByProgramEntersThePage();
    void pageListChangesKeepTheEditorOnTheSelectedPage_data();
    void pageListChangesKeepTheEditorOnTheSelectedPage();
    void protectingTheSelectedPageLocksItAtOnce();
    void documentsSayWhatWasNotWritten();
    void failedSaveKeepsTheDocumentModified();
    void editsDuringTheLockWaitKeepTheDocumentModified();
    void replaceLinesOfTheShownPage();
    void replaceLinesOfAPageNotShown_data();
    void replaceLinesOfAPageNotShown();
    void visitedPageKeepsItsTextInItsDocument_data();
    void visitedPageKeepsItsTextInItsDocument();
    void editOfAVisitedPageAfterASaveIsWritten();
    void pageEditedSavedAndEditedBackIsWrittenBack();
    void protectingAVisitedPageKeepsItsText();
    void pageTypedToOneEmptyLineKeepsIt_data();
    void pageTypedToOneEmptyLineKeepsIt();

private:
    // The editor holds the selected tab's page, shows its text, and what is typed lands there.
    void checkEditorOnSelectedPage(const QString &expectedText);

    std::unique_ptr<WindowFixture> m_fixture;
};

void PageSessionTest::initTestCase()
{
    // The store waits for the lock handling events, as in the program.
    installEventLoopDelay();
}

void PageSessionTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void PageSessionTest::cleanup()
{
    m_fixture.reset();
}

void PageSessionTest::checkEditorOnSelectedPage(const QString &expectedText)
{
    MainWindow &window = m_fixture->window();
    const int selected = window.tabBar()->currentIndex();
    QCOMPARE(window.currentPage(), window.pageRecord(selected));
    QCOMPARE(m_fixture->editor().text(), expectedText);

    window.pageLeave();
    QList<QStringList> before;
    for (int i = 0; i < window.pageCount(); ++i)
        before.append(window.pages().lines(i));
    m_fixture->press(Qt::Key_Home);
    m_fixture->type(QStringLiteral("Z"));
    window.pageLeave();
    for (int i = 0; i < window.pageCount(); ++i) {
        const QStringList expected =
            i == selected ? QStringList{QStringLiteral("Z") + expectedText} : before.at(i);
        QCOMPARE(window.pages().lines(i), expected);
    }
}

void PageSessionTest::selectingByProgramEntersThePage()
{
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("edited "));

    window.tabBar()->setCurrentIndex(1);
    checkEditorOnSelectedPage(QStringLiteral("second"));
    QCOMPARE(window.pages().lines(0), QStringList{"edited first"});

    window.pages().select(2);
    QCOMPARE(window.tabBar()->currentIndex(), 2);
    checkEditorOnSelectedPage(QStringLiteral("third"));
}

void PageSessionTest::pageListChangesKeepTheEditorOnTheSelectedPage_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("selectedName");
    QTest::addColumn<QString>("shown");
    const QString edited = QStringLiteral("edited second");
    QTest::newRow("delete the selected page")
        << QStringLiteral("delete 1") << QStringLiteral("Three") << QStringLiteral("third");
    QTest::newRow("delete the selected last page")
        << QStringLiteral("delete 2") << QStringLiteral("Two") << QStringLiteral("second");
    QTest::newRow("delete a page before it")
        << QStringLiteral("delete 0") << QStringLiteral("Two") << edited;
    QTest::newRow("move the selected page")
        << QStringLiteral("move 1 0") << QStringLiteral("Two") << edited;
    QTest::newRow("move another page past it")
        << QStringLiteral("move 2 0") << QStringLiteral("Two") << edited;
    QTest::newRow("add a page") << QStringLiteral("add") << QStringLiteral("Two") << edited;
}

// The changes the pages dialog makes, made through its seam one at a time.
void PageSessionTest::pageListChangesKeepTheEditorOnTheSelectedPage()
{
    QFETCH(QString, change);
    QFETCH(QString, selectedName);
    QFETCH(QString, shown);
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    const int selected = change == QLatin1String("delete 2") ? 2 : 1;
    m_fixture->clickTab(selected);
    m_fixture->type(QStringLiteral("edited "));

    WindowPages pages(window.pages());
    const QStringList words = change.split(u' ');
    if (words.at(0) == QLatin1String("delete"))
        pages.deletePage(words.at(1).toInt());
    else if (words.at(0) == QLatin1String("move"))
        pages.movePage(words.at(1).toInt(), words.at(2).toInt());
    else
        pages.addPage(QStringLiteral("New"), false);

    QCOMPARE(window.tabBar()->pageName(window.tabBar()->currentIndex()), selectedName);
    checkEditorOnSelectedPage(shown);
}

void PageSessionTest::protectingTheSelectedPageLocksItAtOnce()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("abc");
    m_fixture->writeNotes(ThreePages, settings);
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("typed "));

    WindowPages(window.pages()).setProtected(0, true);
    QCOMPARE(m_fixture->editor().text(), Placeholder);
    QVERIFY(m_fixture->editor().isReadOnly());
    QCOMPARE(window.currentPage(), nullptr);
    QVERIFY(window.tabBar()->isPageProtected(0));
    QCOMPARE(window.pages().lines(0), QStringList{"typed first"});
}

void PageSessionTest::documentsSayWhatWasNotWritten()
{
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    const PageSession &pages = window.pages();
    QVERIFY(!pages.isModified(0));

    m_fixture->type(QStringLiteral("x"));
    QVERIFY(pages.isModified(0));
    m_fixture->clickTab(1);
    QVERIFY(pages.isModified(0));
    QVERIFY(!pages.isModified(1));
    QVERIFY(!window.pageDirty());

    QVERIFY(window.saveNotes());
    QVERIFY(!pages.isModified(0));
    m_fixture->clickTab(0);
    QVERIFY(!window.pageDirty());
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("xfirst"));
}

void PageSessionTest::failedSaveKeepsTheDocumentModified()
{
    // A file standing where the Notes file's folder should be: nothing can be written.
    const QString inTheWay = m_fixture->filePath(QStringLiteral("in the way"));
    QFile blocker(inTheWay);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MainWindow &window = m_fixture->start(inTheWay + QStringLiteral("/Quillbox.ini"));
    m_fixture->type(QStringLiteral("kept"));

    QVERIFY(!window.saveNotes());
    QVERIFY(window.pages().isModified(0));
    QVERIFY(window.pageDirty());

    QVERIFY(QFile::remove(inTheWay));
    QVERIFY(window.saveNotes());
    QVERIFY(!window.pages().isModified(0));
}

void PageSessionTest::editsDuringTheLockWaitKeepTheDocumentModified()
{
    MainWindow &window = m_fixture->start();
    OtherLockHolder otherProgram;
    QVERIFY(otherProgram.hold(QFileInfo(m_fixture->notesPath()).path()));
    m_fixture->type(QStringLiteral("first"));
    QTimer::singleShot(0, this, [&] {
        m_fixture->type(QStringLiteral(" second"));
        otherProgram.release();
    });

    QVERIFY(window.saveNotes());
    // The file holds what the save took; what came meanwhile is still to be written.
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines,
             QStringList{"first"});
    QVERIFY(window.pages().isModified(0));
    QVERIFY(window.saveNotes());
    QVERIFY(!window.pages().isModified(0));
}

void PageSessionTest::replaceLinesOfTheShownPage()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("alpha"), QStringLiteral("beta")}},
                           {QStringLiteral("B"), {QStringLiteral("other")}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    editor.setCaretXY(3, 2);

    window.pages().replaceLines(
        0, {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    QCOMPARE(editor.text(), QStringLiteral("one\r\ntwo\r\nthree"));
    QCOMPARE(window.currentPage(), window.pageRecord(0));
    QCOMPARE(window.pages().lines(0), (QStringList{"one", "two", "three"}));
    QCOMPARE(editor.caretY(), 2);
    QCOMPARE(editor.caretX(), 3);
    QVERIFY(!editor.isReadOnly());
    QVERIFY(!window.notesChanged());
    QVERIFY(!window.pages().isModified(0));

    // The new text is one step the user can take back, and that is an edit.
    editor.undo();
    QCOMPARE(editor.text(), QStringLiteral("alpha\r\nbeta"));
    QVERIFY(window.notesChanged());
    m_fixture->clickTab(1);
    QCOMPARE(window.pages().lines(0), (QStringList{"alpha", "beta"}));
}

void PageSessionTest::replaceLinesOfAPageNotShown_data()
{
    QTest::addColumn<bool>("shownBefore");
    QTest::newRow("shown before, with a document") << true;
    QTest::newRow("never shown") << false;
}

void PageSessionTest::replaceLinesOfAPageNotShown()
{
    QFETCH(bool, shownBefore);
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    if (shownBefore) {
        m_fixture->clickTab(2);
        m_fixture->type(QStringLiteral("typed "));
    }
    m_fixture->clickTab(0);
    const bool notesBefore = window.notesChanged();

    window.pages().replaceLines(2, {QStringLiteral("from elsewhere")});
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("first"));
    QCOMPARE(window.pages().lines(2), QStringList{"from elsewhere"});
    QCOMPARE(window.notesChanged(), notesBefore);
    QVERIFY(!window.pages().isModified(2));

    m_fixture->clickTab(2);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("from elsewhere"));
    window.pageLeave();
    QCOMPARE(window.pages().lines(2), QStringList{"from elsewhere"});
}

void PageSessionTest::visitedPageKeepsItsTextInItsDocument_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("isProtected");
    QTest::addColumn<bool>("inDocumentOnly");
    QTest::newRow("lines") << QStringList{"one", "two"} << false << true;
    QTest::newRow("empty page") << QStringList{} << false << true;
    QTest::newRow("empty lines inside") << QStringList{"one", "", "three"} << false << true;
    QTest::newRow("empty last line") << QStringList{"one", ""} << false << true;
    QTest::newRow("two empty last lines") << QStringList{"one", "", ""} << false << true;
    // A document gives back one empty line as no line, and a line holding a character it takes
    // for a line break split: such a page keeps its lines.
    QTest::newRow("one empty line") << QStringList{""} << false << false;
    QTest::newRow("paragraph separator in a line")
        << QStringList{QStringLiteral("one") + QChar(QChar::ParagraphSeparator) + "two"} << false
        << false;
    QTest::newRow("protected") << QStringList{"one", "two"} << true << false;
}

// A page once shown holds its text in its document, not its record too; what the session gives
// as its lines and what a save writes is the text as it was read.
void PageSessionTest::visitedPageKeepsItsTextInItsDocument()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, isProtected);
    QFETCH(bool, inDocumentOnly);
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("first")}},
                           {QStringLiteral("B"), lines, isProtected}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->clickTab(0);

    QVERIFY(window.pages().document(1));
    QCOMPARE(window.pageRecord(1)->lines.isEmpty(), inDocumentOnly || lines.isEmpty());
    QCOMPARE(window.pages().lines(1), lines);
    QCOMPARE(window.pages().searchText(1), PageSearch::pageText(lines));
    m_fixture->type(QStringLiteral("x"));
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines, lines);
}

void PageSessionTest::editOfAVisitedPageAfterASaveIsWritten()
{
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->clickTab(0);
    m_fixture->type(QStringLiteral("x"));
    QVERIFY(window.saveNotes());
    QVERIFY(window.saveNotes());

    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("typed "));
    m_fixture->clickTab(2);
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList{"typed second"});
    QCOMPARE(window.pages().lines(1), QStringList{"typed second"});
}

void PageSessionTest::pageEditedSavedAndEditedBackIsWrittenBack()
{
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("x"));
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList{"xsecond"});

    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("second"));
    m_fixture->clickTab(0);
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList{"second"});
}

// Sealing works on a protected page's lines: a visited page protected takes its text back
// into its record, as typed.
void PageSessionTest::protectingAVisitedPageKeepsItsText()
{
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("typed "));
    m_fixture->clickTab(0);

    WindowPages(window.pages()).setProtected(1, true);
    QCOMPARE(window.pageRecord(1)->lines, QStringList{"typed second"});
    QCOMPARE(window.pages().lines(1), QStringList{"typed second"});
    WindowPages(window.pages()).setProtected(1, false);
    QVERIFY(window.pageRecord(1)->lines.isEmpty());
    QCOMPARE(window.pages().lines(1), QStringList{"typed second"});
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(1).record.lines,
             QStringList{"typed second"});
}

void PageSessionTest::pageTypedToOneEmptyLineKeepsIt_data()
{
    QTest::addColumn<int>("enters");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("emptied") << 0 << QStringList{};
    QTest::newRow("emptied, one line break") << 1 << QStringList{""};
    QTest::newRow("emptied, two line breaks") << 2 << QStringList{"", ""};
}

// What is left of a page's text when the user empties it and presses Enter is kept as the
// editor's lines say, also for a page whose text lives in its document.
void PageSessionTest::pageTypedToOneEmptyLineKeepsIt()
{
    QFETCH(int, enters);
    QFETCH(QStringList, kept);
    m_fixture->writeNotes(ThreePages);
    MainWindow &window = m_fixture->start();
    m_fixture->press(Qt::Key_A, Qt::ControlModifier);
    m_fixture->press(Qt::Key_Delete);
    for (int i = 0; i < enters; ++i)
        m_fixture->press(Qt::Key_Return);
    m_fixture->clickTab(1);

    QCOMPARE(window.pages().lines(0), kept);
    QVERIFY(window.saveNotes());
    QCOMPARE(WindowFixture::pagesIn(m_fixture->notesPath()).at(0).record.lines, kept);
}

QTEST_MAIN(PageSessionTest)
#include "tst_pagesession.moc"
