#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "editor/noteeditor.h"
#include "notes/pagerecord.h"
#include "support/windowfixture.h"

#include <QSet>
#include <QTest>

namespace {
const QStringList Names{
    "Reminders",  "ToDo",          "General",       "Passwords",     "Shopping list", "Work",
    "Birthdays",  "Recipes",       "Phone numbers", "Bank & cards",  "Car",           "House",
    "Garden",     "Books to read", "Films",         "Holiday 2026",  "Doctor",        "School",
    "Projects",   "Ideas",         "Meetings",      "Gifts",         "Travel",        "Insurance",
    "Tax return", "Gym",           "Music",         "Wi-Fi codes",   "Software keys", "Addresses",
    "Pets",       "Kids",          "Bills",         "Subscriptions", "Quotes",        "Journal",
    "Contacts",   "Servers",       "Backups",       "Miscellaneous"};

QList<TestPage> realisticPages(int count)
{
    QList<TestPage> pages;
    for (int i = 0; i < count; ++i)
        pages.append({Names.at(i), {QStringLiteral("text of page %1").arg(i)}});
    return pages;
}

QSet<int> rowTops(const PageTabBar &strip)
{
    QSet<int> tops;
    for (int i = 0; i < strip.count(); ++i)
        tops.insert(strip.tabRect(i).top());
    return tops;
}
} // namespace

// The notes window's tab strip: every page's tab in rows of the window's width, the selected
// tab's row next to the page, the strip as high as its rows and the editor below it.
class TabStripTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyTabShowsWhole_data();
    void everyTabShowsWhole();
    void clicksAndCtrlTabSelectThePage_data();
    void clicksAndCtrlTabSelectThePage();
    void stripGrowsByARowPerRow();

private:
    PageTabBar &startWith(int pages, int width);
    std::unique_ptr<WindowFixture> m_fixture;
};

void TabStripTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void TabStripTest::cleanup()
{
    m_fixture.reset();
}

PageTabBar &TabStripTest::startWith(int pages, int width)
{
    m_fixture->writeNotes(realisticPages(pages));
    MainWindow &window = m_fixture->start();
    window.resize(width, 577);
    PageTabBar &strip = *window.tabBar();
    [&] {
        QTRY_COMPARE(strip.width(), width);
        QTRY_COMPARE(strip.height(), strip.heightForWidth(width));
    }();
    return strip;
}

void TabStripTest::everyTabShowsWhole_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("width");
    for (const int pages : {10, 40}) {
        for (const int width : {666, 535})
            QTest::addRow("%d pages at %d px", pages, width) << pages << width;
    }
}

void TabStripTest::everyTabShowsWhole()
{
    QFETCH(int, pages);
    QFETCH(int, width);
    PageTabBar &strip = startWith(pages, width);
    const QFontMetrics metrics = strip.fontMetrics();

    if (pages == 40)
        QVERIFY(strip.rowCount() > 2);
    QCOMPARE(rowTops(strip).size(), strip.rowCount());
    for (int i = 0; i < strip.count(); ++i) {
        const QRect tab = strip.tabRect(i);
        QVERIFY2(strip.rect().contains(tab), qPrintable(strip.pageName(i)));
        // Room for the name where the selected tab draws it, 8 pixels in from the frame.
        QVERIFY(tab.width() >= metrics.horizontalAdvance(strip.pageName(i)) + 8 + 8);
        QVERIFY(tab.height() >= metrics.height() + 6);
        for (int j = i + 1; j < strip.count(); ++j)
            QVERIFY(!tab.intersects(strip.tabRect(j)));
    }
    // The rows fill the strip, the selected tab's row at the bottom, next to the page.
    QCOMPARE(strip.height(), strip.rowCount() * strip.tabRect(0).height());
    QCOMPARE(strip.tabRect(strip.currentIndex()).bottom(), strip.height() - 1);
    const QWidget &editor = m_fixture->editor();
    QVERIFY(editor.isVisible());
    QVERIFY(editor.mapTo(&m_fixture->window(), QPoint()).y() > strip.geometry().bottom());
    QVERIFY(editor.height() > 300);
}

void TabStripTest::clicksAndCtrlTabSelectThePage_data()
{
    everyTabShowsWhole_data();
}

void TabStripTest::clicksAndCtrlTabSelectThePage()
{
    QFETCH(int, pages);
    QFETCH(int, width);
    PageTabBar &strip = startWith(pages, width);
    const auto shows = [&](int page) {
        return strip.currentIndex() == page &&
               m_fixture->editor().text() == QStringLiteral("text of page %1").arg(page);
    };

    // Every tab in turn, from the last to the first: each click moves rows about.
    for (int page = pages - 1; page >= 0; --page) {
        m_fixture->clickTab(page);
        QVERIFY2(shows(page), qPrintable(strip.pageName(page)));
        QCOMPARE(strip.tabRect(page).bottom(), strip.height() - 1);
    }
    for (int page = 1; page <= pages; ++page) {
        m_fixture->press(Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(shows(page % pages));
    }
    m_fixture->press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(shows(pages - 1));
    QVERIFY(!m_fixture->window().notesChanged());
}

void TabStripTest::stripGrowsByARowPerRow()
{
    PageTabBar &strip = startWith(1, 666);
    MainWindow &window = m_fixture->window();
    const int rowHeight = strip.height();
    const int editorHeight = m_fixture->editor().height();
    QCOMPARE(strip.rowCount(), 1);

    PageRecord empty;
    empty.caretX = 1;
    empty.caretY = 1;
    empty.topLine = 1;
    for (int added = 1; added < Names.size(); ++added) {
        window.addPage(Names.at(added), empty);
        const int rows = strip.rowCount();
        QTRY_COMPARE(strip.height(), rows * rowHeight);
        QTRY_COMPARE(m_fixture->editor().height(), editorHeight - (rows - 1) * rowHeight);
    }
    QVERIFY(strip.rowCount() > 3);

    // A narrower window: more rows, a taller strip, a shorter editor.
    const int rowsAt666 = strip.rowCount();
    window.resize(535, window.height());
    QTRY_COMPARE(strip.width(), 535);
    QVERIFY(strip.rowCount() > rowsAt666);
    QTRY_COMPARE(strip.height(), strip.rowCount() * rowHeight);
    QTRY_COMPARE(m_fixture->editor().height(), editorHeight - (strip.rowCount() - 1) * rowHeight);
}

QTEST_MAIN(TabStripTest)
#include "tst_tabstrip.moc"
