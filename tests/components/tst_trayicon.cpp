#include "components/productname.h"
#include "components/trayicon.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

// The notification-area icon: its tool tip, its menu and when a click counts.
class TrayIconTest : public QObject
{
    Q_OBJECT

private slots:
    void toolTipIsCutAt62_data();
    void toolTipIsCutAt62();
    void menuHasTitleSeparatorAndThreeCommands();
    void menuCommandsBecomeSignals();
    void withoutANotificationAreaItStaysInactive();
    void clicksCountOnlyWhileActive();
};

void TrayIconTest::toolTipIsCutAt62_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const QString sixtyTwo = QString(62, u'x');
    QTest::newRow("short") << QStringLiteral("Activate Quillbox")
                           << QStringLiteral("Activate Quillbox");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("exactly 62") << sixtyTwo << sixtyTwo;
    QTest::newRow("63") << sixtyTwo + u'y' << sixtyTwo;
    QTest::newRow("200") << QString(200, u'z') << QString(62, u'z');
    const QString smile = QStringLiteral("\U0001F600");
    QTest::newRow("pair across the cut") << QString(61, u'x') + smile << QString(61, u'x');
    QTest::newRow("pair before the cut")
        << QString(60, u'x') + smile + QStringLiteral("tail") << QString(60, u'x') + smile;
}

void TrayIconTest::toolTipIsCutAt62()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TrayIcon tray;
    tray.setToolTip(text);
    QCOMPARE(tray.toolTip(), shown);
    QCOMPARE(tray.findChild<QSystemTrayIcon *>()->toolTip(), shown);
}

void TrayIconTest::menuHasTitleSeparatorAndThreeCommands()
{
    TrayIcon tray;
    const QList<QAction *> items = tray.menu()->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items.at(0)->text(), productName());
    QVERIFY(!items.at(0)->isEnabled());
    QVERIFY(items.at(1)->isSeparator());
    QCOMPARE(items.at(2)->text(), QStringLiteral("Activate"));
    QCOMPARE(items.at(3)->text(), QStringLiteral("Hide"));
    QCOMPARE(items.at(4)->text(), QStringLiteral("Exit"));
    QCOMPARE(tray.findChild<QSystemTrayIcon *>()->contextMenu(), tray.menu());
}

void TrayIconTest::menuCommandsBecomeSignals()
{
    TrayIcon tray;
    QSignalSpy activate(&tray, &TrayIcon::activateRequested);
    QSignalSpy hide(&tray, &TrayIcon::hideRequested);
    QSignalSpy exit(&tray, &TrayIcon::exitRequested);
    const QList<QAction *> items = tray.menu()->actions();

    items.at(3)->trigger();
    QCOMPARE(hide.count(), 1);
    items.at(4)->trigger();
    QCOMPARE(exit.count(), 1);
    items.at(2)->trigger();
    QCOMPARE(activate.count(), 1);
    QCOMPARE(hide.count() + exit.count(), 2);
}

void TrayIconTest::withoutANotificationAreaItStaysInactive()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the offscreen platform has none
    TrayIcon tray;
    QVERIFY(!tray.isActive());
    tray.setActive(true);
    QVERIFY(!tray.isActive());
    QVERIFY(!tray.findChild<QSystemTrayIcon *>()->isVisible());
}

void TrayIconTest::clicksCountOnlyWhileActive()
{
    TrayIcon tray;
    QSignalSpy clicked(&tray, &TrayIcon::clicked);
    auto *icon = tray.findChild<QSystemTrayIcon *>();

    emit icon->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(clicked.count(), 0);
    emit icon->activated(QSystemTrayIcon::Context);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    QCOMPARE(clicked.count(), 0);
}

QTEST_MAIN(TrayIconTest)
#include "tst_trayicon.moc"
