#include "app/topband.h"

#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

// The band of the menu bar and the tool buttons at the top of the notes window.
class TopBandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void toolButtonsStandOnTheMenuTitlesLine();
    void menuBarLookRunsUnderTheToolButtons();

private:
    std::unique_ptr<QWidget> m_window;
    QMenuBar *m_menuBar = nullptr;
    QList<QToolButton *> m_tools;
    TopBand *m_band = nullptr;
};

void TopBandTest::init()
{
    m_window = std::make_unique<QWidget>();
    m_menuBar = new QMenuBar;
    m_menuBar->setNativeMenuBar(false);
    for (const char *title : {"&File", "&Edit", "&Search", "Sec&urity", "&Pages", "&Help"})
        m_menuBar->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    m_tools.clear();
    for (const char *caption : {"&Hide", "&Protect", "&Save"}) {
        auto *button = new QToolButton;
        button->setDefaultAction(new QAction(QString::fromLatin1(caption), button));
        button->setAutoRaise(true);
        m_tools.append(button);
    }
    m_band = new TopBand(m_menuBar, m_tools, m_window.get());
    m_window->resize(666, 60);
    m_band->resize(666, m_band->height());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TopBandTest::cleanup()
{
    m_window.reset();
}

void TopBandTest::toolButtonsStandOnTheMenuTitlesLine()
{
    QVERIFY(m_band->height() >= 25);
    QCOMPARE(m_menuBar->geometry().top(), 0);
    QCOMPARE(m_menuBar->height(), m_band->height());
    const QRect title = m_menuBar->actionGeometry(m_menuBar->actions().first());
    for (const QToolButton *button : std::as_const(m_tools)) {
        const QRect place(button->mapTo(m_band, QPoint(0, 0)), button->size());
        QCOMPARE(place.top(), title.top());
        QCOMPARE(place.height(), title.height());
        QVERIFY(place.left() > m_menuBar->geometry().right());
    }
}

// The bottom line of the menu bar's look goes on below the buttons and to the band's end.
void TopBandTest::menuBarLookRunsUnderTheToolButtons()
{
    const QImage band = m_band->grab().toImage();
    const qreal scale = band.devicePixelRatio();
    const int bottom = band.height() - 1;
    const auto pixel = [&](int x) { return band.pixel(int(x * scale), bottom); };
    const QRect lastTitle = m_menuBar->actionGeometry(m_menuBar->actions().last());
    QVERIFY(m_menuBar->geometry().right() < lastTitle.right() + 8);
    const QRgb line = pixel(1);
    QVERIFY(line != band.pixel(1, 1)); // the menu bar has a line of its own below it
    QCOMPARE(pixel(lastTitle.right() + 8), line);
    const QToolButton *save = m_tools.last();
    QCOMPARE(pixel(save->mapTo(m_band, QPoint(save->width() / 2, 0)).x()), line);
    QCOMPARE(pixel(m_band->width() - 2), line);
}

QTEST_MAIN(TopBandTest)
#include "tst_topband.moc"
