#include "pagerecord.h"
#include "pagetabbar.h"

#include <QImage>
#include <QTest>

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

private slots:
    void tabIsPaintedByTheProgram_data();
    void tabIsPaintedByTheProgram();
    void recordIsTheTabData();
    void userClickReportsThePageLeft();
    void ampersandIsDrawnAndTakesNoShortcut();

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
    PageRecord first;
    PageRecord second;
    first.isProtected = isProtected;
    bar.addPage(name);
    bar.addPage(QStringLiteral("Second"));
    bar.setRecord(0, &first);
    bar.setRecord(1, &second);
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

void PageTabBarTest::recordIsTheTabData()
{
    PageTabBar bar;
    PageRecord record;
    bar.addPage(QStringLiteral("One"));
    QCOMPARE(bar.record(0), nullptr);
    bar.setRecord(0, &record);
    QCOMPARE(bar.record(0), &record);
    QCOMPARE(bar.record(1), nullptr);
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

QTEST_MAIN(PageTabBarTest)
#include "tst_pagetabbar.moc"
