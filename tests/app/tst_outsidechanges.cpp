#include "app/mainwindow.h"
#include "app/outsidechanges.h"
#include "app/pagesession.h"
#include "app/statusline.h"
#include "editor/noteeditor.h"
#include "notes/notesstore.h"
#include "pages/fakepagelist.h"
#include "support/windowfixture.h"

#include <QTest>

namespace {

// A page written "name=line|line".
StoredPage stored(const QString &text)
{
    const qsizetype equals = text.indexOf(u'=');
    StoredPage page{text.left(equals), {}};
    if (equals + 1 < text.size())
        page.record.lines = text.mid(equals + 1).split(u'|');
    return page;
}

QStringList pageTexts(const PageListOps &pages)
{
    QStringList texts;
    for (int i = 0; i < pages.count(); ++i)
        texts.append(pages.name(i) + u'=' + pages.record(i)->lines.join(u'|'));
    return texts;
}

QStringList windowPages(MainWindow &window)
{
    QStringList texts;
    for (int i = 0; i < window.pageCount(); ++i) {
        texts.append(window.pages().name(i) + u'=' + window.pages().lines(i).join(u'|'));
    }
    return texts;
}

QStringList filePages(const QString &path)
{
    QStringList texts;
    for (const StoredPage &page : WindowFixture::pagesIn(path))
        texts.append(page.name + u'=' + page.record.lines.join(u'|'));
    return texts;
}

} // namespace

class OutsideChangesTest : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void conflictNotice();

    void saveShowsTheOtherCopysPages();
    void saveKeepsBothTextsOfOnePage();
    void showingAgainReloadsChangedFile();
    void showingAgainKeepsUnchangedFile();
    void otherCopysTextReachesAPageShownBefore();
    void pageShownBeforeKeepsItsHistoryWhenTheOtherCopyDidNotChangeIt();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void OutsideChangesTest::apply_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QList<int>>("writtenIndex");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("keepText");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("recordOf"); // the index of each page's record before, -1 new
    QTest::addColumn<QList<int>>("replaced"); // indexes whose text was given anew
    QTest::addColumn<int>("currentNow");

    QTest::newRow("text of another page")
        << QStringList{"A=mine", "B=b"} << QStringList{"A=mine", "B=b|theirs"} << QList<int>{0, 1}
        << 0 << -1 << QStringList{"A=mine", "B=b|theirs"} << QList<int>{0, 1} << QList<int>{1} << 0;
    QTest::newRow("page added after the current one")
        << QStringList{"A=mine", "B=b"}
        << QStringList{"A=mine", "A (changed elsewhere)=theirs", "B=b"} << QList<int>{0, -1, 1} << 1
        << -1 << QStringList{"A=mine", "A (changed elsewhere)=theirs", "B=b"}
        << QList<int>{0, -1, 1} << QList<int>{1} << 2;
    QTest::newRow("pages moved, renamed and deleted")
        << QStringList{"A=a", "B=b", "C=c"} << QStringList{"C=c", "X=a"} << QList<int>{2, 0} << 0
        << -1 << QStringList{"C=c", "X=a"} << QList<int>{2, 0} << QList<int>{} << 1;
    QTest::newRow("current page gone")
        << QStringList{"A=a", "B=b"} << QStringList{"B=b"} << QList<int>{1} << 0 << -1
        << QStringList{"B=b"} << QList<int>{1} << QList<int>{} << -1;
    QTest::newRow("edit in progress keeps its text")
        << QStringList{"A=typing", "B=b"} << QStringList{"A=a", "B=theirs"} << QList<int>{0, 1} << 0
        << 0 << QStringList{"A=typing", "B=theirs"} << QList<int>{0, 1} << QList<int>{1} << 0;
    QTest::newRow("stored text differing only by trailing blanks is not given anew")
        << QStringList{"A=a  "} << QStringList{"A=a"} << QList<int>{0} << 0 << -1
        << QStringList{"A=a  "} << QList<int>{0} << QList<int>{} << 0;
}

void OutsideChangesTest::apply()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, changed);
    QFETCH(QList<int>, writtenIndex);
    QFETCH(int, current);
    QFETCH(int, keepText);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, recordOf);
    QFETCH(QList<int>, replaced);
    QFETCH(int, currentNow);

    FakePageList pages;
    for (const QString &text : before) {
        const StoredPage page = stored(text);
        pages.append(page.name, page.record.lines);
    }
    const QList<PageRecord *> records = pages.records();
    NotesStore::OutsideChange change;
    for (const QString &text : changed)
        change.pages.append(stored(text));
    change.writtenIndex = writtenIndex;
    QList<int> given;
    const int result = OutsideChanges::apply(change, pages, current, keepText,
                                             [&](int index, const QStringList &lines) {
                                                 given.append(index);
                                                 pages.record(index)->lines = lines;
                                             });
    QCOMPARE(pageTexts(pages), after);
    QCOMPARE(result, currentNow);
    for (int i = 0; i < recordOf.size(); ++i) {
        if (recordOf[i] >= 0)
            QCOMPARE(pages.record(i), records[recordOf[i]]);
        else
            QVERIFY(!records.contains(pages.record(i)));
    }
    QCOMPARE(given, replaced);
}

void OutsideChangesTest::conflictNotice()
{
    QVERIFY(OutsideChanges::conflictNotice({}).isEmpty());
    QVERIFY(OutsideChanges::conflictNotice({"A (changed elsewhere)"})
                .contains(QStringLiteral("A (changed elsewhere)")));
}

// Copy 2 saved an edit of page B after this window read the file; this window's save keeps
// it and shows it.
void OutsideChangesTest::saveShowsTheOtherCopysPages()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}},
                           {QStringLiteral("B"), {QStringLiteral("b")}}});
    MainWindow &window = m_fixture->start();
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[1].record.lines.append("other");
    });
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    const QStringList both = {"A=mine a", "B=b|other"};
    QCOMPARE(filePages(m_fixture->notesPath()), both);
    QCOMPARE(windowPages(window), both);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("mine a"));
    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("b\r\nother"));
    m_fixture.reset();
}

void OutsideChangesTest::saveKeepsBothTextsOfOnePage()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}},
                           {QStringLiteral("B"), {QStringLiteral("b")}}});
    MainWindow &window = m_fixture->start();
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[0].record.lines = QStringList{"theirs"};
    });
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    const QStringList kept = {"A=mine a", "A (changed elsewhere)=theirs", "B=b"};
    QCOMPARE(filePages(m_fixture->notesPath()), kept);
    QCOMPARE(windowPages(window), kept);
    QCOMPARE(window.pages().currentIndex(), 0);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("mine a"));
    QVERIFY(window.statusLine()->hint().contains(QStringLiteral("A (changed elsewhere)")));

    // The caret stayed where the typing was; saved again, nothing more is added.
    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    QCOMPARE(filePages(m_fixture->notesPath()),
             QStringList({"A=mine more a", "A (changed elsewhere)=theirs", "B=b"}));
    QCOMPARE(window.pageCount(), 3);
    m_fixture.reset();
}

void OutsideChangesTest::showingAgainReloadsChangedFile()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}},
                           {QStringLiteral("B"), {QStringLiteral("b")}}});
    MainWindow &window = m_fixture->start();
    window.presence().activateOrHide();
    QVERIFY(!window.isVisible());
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[0].record.lines = QStringList{"theirs"};
        pages.append(StoredPage{QStringLiteral("New"), {}});
    });
    window.presence().activateOrHide();
    QVERIFY(window.isVisible());
    QCOMPARE(windowPages(window), QStringList({"A=theirs", "B=b", "New="}));
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("theirs"));
    QVERIFY(!window.notesChanged());
    m_fixture.reset();
}

void OutsideChangesTest::showingAgainKeepsUnchangedFile()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->type(QStringLiteral("x"));
    window.presence().activateOrHide();
    const PageRecord *record = window.pageRecord(0);
    window.presence().activateOrHide();
    QCOMPARE(window.pageRecord(0), record);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("xa"));
    // The page kept its history: the typing is undone.
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("a"));
    m_fixture.reset();
}

// A page shown before holds its text in its document: the other copy's text replaces it there,
// and what is typed on it next is written from that text.
void OutsideChangesTest::otherCopysTextReachesAPageShownBefore()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}},
                           {QStringLiteral("B"), {QStringLiteral("b")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->clickTab(0);
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[1].record.lines.append("other");
    });
    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    const QStringList both = {"A=mine more a", "B=b|other"};
    QCOMPARE(filePages(m_fixture->notesPath()), both);
    QCOMPARE(windowPages(window), both);

    m_fixture->clickTab(1);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("b\r\nother"));
    m_fixture->type(QStringLiteral("x"));
    m_fixture->clickTab(0);
    QVERIFY(window.saveNotes());
    QCOMPARE(filePages(m_fixture->notesPath()), QStringList({"A=mine more a", "B=xb|other"}));
    m_fixture.reset();
}

// The other copy changed another page: a page shown before keeps its text with its history, and
// one undo takes back what was typed on it.
void OutsideChangesTest::pageShownBeforeKeepsItsHistoryWhenTheOtherCopyDidNotChangeIt()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("a")}},
                           {QStringLiteral("B"), {QStringLiteral("b")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("typed "));
    m_fixture->clickTab(0);
    WindowFixture::saveAsOtherCopy(m_fixture->notesPath(), [](QList<StoredPage> &pages) {
        pages[0].record.lines.append("other");
    });
    QVERIFY(window.saveNotes());
    QCOMPARE(windowPages(window), QStringList({"A=a|other", "B=typed b"}));

    m_fixture->clickTab(1);
    m_fixture->press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_fixture->editor().text(), QStringLiteral("b"));
    m_fixture.reset();
}

QTEST_MAIN(OutsideChangesTest)
#include "tst_outsidechanges.moc"
