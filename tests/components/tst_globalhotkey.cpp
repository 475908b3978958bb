#include "components/globalhotkey.h"

#include <QSignalSpy>
#include <QtTest>

// The hot key where the platform offers no way to grab one (the offscreen platform): every
// registration fails cleanly and nothing is left registered. The grab itself is tested by
// tst_x11keygrab and end to end under Xvfb.
class GlobalHotKeyTest : public QObject
{
    Q_OBJECT

private slots:
    void noneIsNeverRegistered_data();
    void noneIsNeverRegistered();
    void failsCleanlyWithoutAWindowSystem();
};

void GlobalHotKeyTest::noneIsNeverRegistered_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("-1") << -1;
    QTest::newRow("typed modifier text") << -935;
}

void GlobalHotKeyTest::noneIsNeverRegistered()
{
    QFETCH(int, code);
    GlobalHotKey hotKey;
    QVERIFY(!hotKey.registerHotKey(code));
    QVERIFY(!hotKey.isRegistered());
}

void GlobalHotKeyTest::failsCleanlyWithoutAWindowSystem()
{
    GlobalHotKey hotKey;
    QSignalSpy activated(&hotKey, &GlobalHotKey::activated);
    QVERIFY(!hotKey.registerHotKey(1065));
    QVERIFY(!hotKey.isRegistered());
    hotKey.unregisterHotKey();
    QVERIFY(!hotKey.isRegistered());
    QCOMPARE(activated.count(), 0);
}

QTEST_MAIN(GlobalHotKeyTest)
#include "tst_globalhotkey.moc"
