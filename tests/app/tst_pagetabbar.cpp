#include "app/pagetabbar.h"
#include "app/tabrows.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QWheelEvent>

namespace {
// Where pixels of the colour lie inside the area of the image.
QRect boundsOf(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (match(image.pixelColor(x, y)))
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

bool isBlue(const QColor &color)
{
    return color == QColor(Qt::blue);
}

bool isDark(const QColor &color)
{
    return color.lightness() < 100;
}
} // namespace

class PageTabBarTest : public QObject
{
    Q_OBJECT

public:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void painted(const QRegion &region);

private slots:
    void tabIsPaintedByTheProgram_data();
    void tabIsPaintedByTheProgram();
    void protectedMarkIsTheTabData();
    void everySelectionChangeIsReported();
    void userClickReportsThePageLeft();
    void ampersandIsDrawnAndTakesNoShortcut();
    void rowsWrapToTheWidth_data();
    void rowsWrapToTheWidth();
    void keysAndWheelReportThePageLeft();
    void removingAndMovingKeepTheSelectedPage();
    void selectionDrawsWhatAWholePaintDraws_data();
    void selectionDrawsWhatAWholePaintDraws();

private:
    struct Painted
    {
        QRect square; // the blue square, relative to the tab
        QRect name;   // the name's dark pixels, relative to the tab
    };
    static Painted paintFirstTab(bool selected, bool isProtected,
                                 const QString &name = QStringLiteral("First"));
};

PageTabBarTest::Painted PageTabBarTest::paintFirstTab(bool selected, bool isProtected,
                                                      const QString &name)
{
    PageTabBar bar;
    bar.addPage(name, isProtected);
    bar.addPage(QStringLiteral("Second"));
    bar.setCurrentIndex(selected ? 0 : 1);
    bar.resize(bar.sizeHint());
    const QImage image = bar.grab().toImage();
    const QRect tab = bar.tabRect(0);
    return {boundsOf(image, tab, isBlue).translated(-tab.topLeft()),
            boundsOf(image, tab, isDark).translated(-tab.topLeft())};
}

void PageTabBarTest::tabIsPaintedByTheProgram_data()
{
    QTest::addColumn<bool>("isProtected");
    QTest::newRow("protected") << true;
    QTest::newRow("not protected") << false;
}

void PageTabBarTest::tabIsPaintedByTheProgram()
{
    QFETCH(bool, isProtected);
    const Painted selected = paintFirstTab(true, isProtected);
    const Painted other = paintFirstTab(false, isProtected);

    // The protected page's 4 by 4 blue square sits inside the lower right corner on the
    // selected tab and is centred on that corner on the others.
    if (isProtected) {
        QCOMPARE(selected.square.size(), QSize(4, 4));
        QCOMPARE(other.square, selected.square.translated(2, 2));
    } else {
        QVERIFY(selected.square.isNull());
        QVERIFY(other.square.isNull());
    }
    // The selected tab's name stands 5 pixels further right, at the same height.
    QVERIFY(!selected.name.isNull());
    QCOMPARE(selected.name.left(), other.name.left() + 5);
    QCOMPARE(selected.name.top(), other.name.top());
}

void PageTabBarTest::protectedMarkIsTheTabData()
{
    PageTabBar bar;
    bar.addPage(QStringLiteral("One"));
    bar.addPage(QStringLiteral("Two"), true);
    QVERIFY(!bar.isPageProtected(0));
    QVERIFY(bar.isPageProtected(1));
    bar.setPageProtected(0, true);
    bar.setPageProtected(1, false);
    QVERIFY(bar.isPageProtected(0));
    QVERIFY(!bar.isPageProtected(1));
    QVERIFY(!bar.isPageProtected(2));
    bar.movePage(0, 1);
    QVERIFY(!bar.isPageProtected(0));
    QVERIFY(bar.isPageProtected(1));
}

// The window binds the editor to the selected page on this report, so every change of the
// selected tab must make it, whoever made the change, and only those.
void PageTabBarTest::everySelectionChangeIsReported()
{
    PageTabBar bar;
    QList<int> reports;
    connect(&bar, &PageTabBar::currentChanged, this, [&] { reports.append(bar.currentIndex()); });

    bar.addPage(QStringLiteral("A")); // the first tab is selected
    for (const char *name : {"B", "C", "D"})
        bar.addPage(QString::fromLatin1(name));
    QCOMPARE(reports, QList<int>{0});

    bar.setCurrentIndex(2);
    bar.setCurrentIndex(2); // already selected
    bar.movePage(2, 0);     // the selection moves with its tab
    bar.removePage(3);      // another tab goes
    QCOMPARE(reports, (QList<int>{0, 2}));
    QCOMPARE(bar.pageName(bar.currentIndex()), QStringLiteral("C"));

    bar.removePage(bar.currentIndex()); // the tab taking its place is selected, at the same index
    QCOMPARE(reports, (QList<int>{0, 2, 0}));
    QCOMPARE(bar.pageName(bar.currentIndex()), QStringLiteral("A"));

    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
    QCOMPARE(reports, (QList<int>{0, 2, 0, 1}));

    while (bar.count() > 0)
        bar.removePage(bar.count() - 1);
    QCOMPARE(reports, (QList<int>{0, 2, 0, 1, 0, -1}));
}

void PageTabBarTest::userClickReportsThePageLeft()
{
    PageTabBar bar;
    for (const char *name : {"One", "Two", "Three"})
        bar.addPage(QString::fromLatin1(name));
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QList<int> left;
    connect(&bar, &PageTabBar::changedByUser, this, [&](int previous) { left.append(previous); });

    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(2).center());
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(2).center());
    bar.setCurrentIndex(0); // by program: no report
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());

    QCOMPARE(left, (QList<int>{0, 0}));
    QCOMPARE(bar.currentIndex(), 1);
}

// A page name is drawn as typed, '&' included, and Alt with the letter after the '&' leaves the
// selection alone.
void PageTabBarTest::ampersandIsDrawnAndTakesNoShortcut()
{
    const QRect plain = paintFirstTab(false, false, QStringLiteral("RD")).name;
    const QRect ampersand = paintFirstTab(false, false, QStringLiteral("R&D")).name;
    QCOMPARE(ampersand.left(), plain.left());
    QVERIFY(ampersand.width() > plain.width() + 3);

    PageTabBar bar;
    for (const char *name : {"Notes", "R&D", "&Kitchen"})
        bar.addPage(QString::fromLatin1(name));
    QCOMPARE(bar.pageName(1), QStringLiteral("R&D"));
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    QList<int> left;
    connect(&bar, &PageTabBar::changedByUser, this, [&](int previous) { left.append(previous); });

    for (Qt::Key key : {Qt::Key_D, Qt::Key_K})
        QTest::keyClick(&bar, key, Qt::AltModifier);
    QCOMPARE(bar.currentIndex(), 0);
    QVERIFY(left.isEmpty());

    bar.setPageName(0, QStringLiteral("Q&&A"));
    QCOMPARE(bar.pageName(0), QStringLiteral("Q&&A"));
    QTest::keyClick(&bar, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(bar.currentIndex(), 0);
}

void PageTabBarTest::rowsWrapToTheWidth_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<QRect>>("rects");
    const int h = 20;
    QTest::newRow("no tabs") << QList<int>{} << 200 << -1 << QList<QRect>{};
    QTest::newRow("one row, not stretched")
        << QList<int>{50, 50, 50} << 200 << 1
        << QList<QRect>{{0, 0, 50, h}, {50, 0, 50, h}, {100, 0, 50, h}};
    QTest::newRow("two rows stretched, the selected row at the bottom")
        << QList<int>{60, 60, 60} << 130 << 0
        << QList<QRect>{{0, h, 65, h}, {65, h, 65, h}, {0, 0, 130, h}};
    QTest::newRow("the second row selected")
        << QList<int>{60, 60, 60} << 130 << 2
        << QList<QRect>{{0, 0, 65, h}, {65, 0, 65, h}, {0, h, 130, h}};
    QTest::newRow("rows turn round, their order kept")
        << QList<int>{100, 100, 100} << 100 << 1
        << QList<QRect>{{0, 0, 100, h}, {0, 2 * h, 100, h}, {0, h, 100, h}};
    QTest::newRow("a tab wider than the strip has a row of its own")
        << QList<int>{300, 40, 40} << 200 << 0
        << QList<QRect>{{0, h, 300, h}, {0, 0, 100, h}, {100, 0, 100, h}};
}

void PageTabBarTest::rowsWrapToTheWidth()
{
    QFETCH(QList<int>, widths);
    QFETCH(int, width);
    QFETCH(int, selected);
    QFETCH(QList<QRect>, rects);
    QCOMPARE(TabRows::layOut(widths, width, 20, selected), rects);
    QSet<int> tops;
    for (const QRect &rect : rects)
        tops.insert(rect.top());
    QCOMPARE(TabRows::count(widths, width), int(tops.size()));
}

void PageTabBarTest::keysAndWheelReportThePageLeft()
{
    PageTabBar bar;
    for (const char *name : {"One", "Two", "Three"})
        bar.addPage(QString::fromLatin1(name));
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.setFocus();
    QList<int> left;
    connect(&bar, &PageTabBar::changedByUser, this, [&](int previous) { left.append(previous); });
    const auto wheel = [&](int delta) {
        const QPointF at = bar.tabRect(0).center();
        QWheelEvent event(at, bar.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &event);
    };

    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Right); // at the last tab: nothing
    QCOMPARE(bar.currentIndex(), 2);
    QTest::keyClick(&bar, Qt::Key_Left);
    wheel(120);  // up: the previous tab
    wheel(120);  // at the first tab: nothing
    wheel(-120); // down: the next tab
    QCOMPARE(bar.currentIndex(), 1);
    QCOMPARE(left, (QList<int>{0, 1, 2, 1, 0}));
}

// Removing or moving tabs keeps the selection on the selected page while it stays; the
// selection changes the strip makes itself are never reported as the user's.
void PageTabBarTest::removingAndMovingKeepTheSelectedPage()
{
    PageTabBar bar;
    for (int i = 0; i < 5; ++i)
        bar.addPage(QString::number(i));
    QCOMPARE(bar.currentIndex(), 0);
    QList<int> left;
    connect(&bar, &PageTabBar::changedByUser, this, [&](int previous) { left.append(previous); });
    const auto selected = [&] { return bar.pageName(bar.currentIndex()); };
    const QString third = QStringLiteral("2");

    bar.setCurrentIndex(2);
    bar.removePage(0);
    QCOMPARE(selected(), third);
    bar.movePage(bar.currentIndex(), 3);
    QCOMPARE(bar.currentIndex(), 3);
    QCOMPARE(selected(), third);
    bar.movePage(3, 0);
    bar.movePage(1, 3);
    bar.movePage(3, 1);
    QCOMPARE(selected(), third);
    // The selected tab removed: the tab that takes its place, or the new last tab.
    bar.removePage(bar.currentIndex());
    QCOMPARE(bar.currentIndex(), 0);
    bar.setCurrentIndex(bar.count() - 1);
    bar.removePage(bar.count() - 1);
    QCOMPARE(bar.currentIndex(), bar.count() - 1);
    while (bar.count() > 0)
        bar.removePage(0);
    QCOMPARE(bar.currentIndex(), -1);
    QVERIFY(left.isEmpty());
}

void PageTabBarTest::selectionDrawsWhatAWholePaintDraws_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("wholeBar");

    // Six tabs of three rows, two tabs to a row: 0 1 | 2 3 | 4 5.
    QTest::newRow("next tab, same row") << 2 << 3 << false;
    QTest::newRow("previous tab, same row") << 3 << 2 << false;
    QTest::newRow("another row") << 3 << 4 << true;
    QTest::newRow("first row") << 4 << 0 << true;
}

// The bar on screen after a change of the selected tab is what painting it whole gives, while
// a change within one row draws only part of the bar.
void PageTabBarTest::selectionDrawsWhatAWholePaintDraws()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, wholeBar);
    PageTabBar bar;
    for (int page = 1; page <= 6; ++page)
        bar.addPage(QStringLiteral("Page%1").arg(page));
    const int tabWidth = bar.sizeHint().width() / 6;
    const int width = 2 * tabWidth + tabWidth / 2;
    bar.resize(width, bar.heightForWidth(width));
    QCOMPARE(bar.rowCount(), 3);
    bar.setCurrentIndex(from);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const auto onScreen = [&bar] { return bar.screen()->grabWindow(bar.winId()).toImage(); };
    QRegion painted;
    bar.installEventFilter(this);
    connect(this, &PageTabBarTest::painted, &bar, [&](const QRegion &region) { painted += region; });

    bar.setCurrentIndex(to);
    QTRY_VERIFY(!painted.isEmpty());
    const QImage afterSwitch = onScreen();
    QCOMPARE(painted.boundingRect() == bar.rect(), wholeBar);
    bar.repaint();
    QCOMPARE(afterSwitch, onScreen());
}

bool PageTabBarTest::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        emit painted(static_cast<QPaintEvent *>(event)->region());
    return QObject::eventFilter(watched, event);
}

QTEST_MAIN(PageTabBarTest)
#include "tst_pagetabbar.moc"
