#include "components/portaltrigger.h"

#include <QtTest>

// The portal's trigger text for each kind of stored hot key.
class PortalTriggerTest : public QObject
{
    Q_OBJECT

private slots:
    void fromHotKeyCode_data();
    void fromHotKeyCode();
};

void PortalTriggerTest::fromHotKeyCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("trigger");
    QTest::newRow("none") << -1 << QString();
    QTest::newRow("Ctrl+Alt+Q") << 1000 + 'Q' << QStringLiteral("CTRL+ALT+Q");
    QTest::newRow("Ctrl+Shift+A") << 2000 + 'A' << QStringLiteral("CTRL+SHIFT+A");
    QTest::newRow("Win+Z") << 0 + 'Z' << QStringLiteral("LOGO+Z");
    QTest::newRow("unknown modifier index means Win") << 7000 + 'N' << QStringLiteral("LOGO+N");
    QTest::newRow("digit") << 1000 + '7' << QStringLiteral("CTRL+ALT+7");
    QTest::newRow("F1") << 1000 + 0x70 << QStringLiteral("CTRL+ALT+F1");
    QTest::newRow("F24") << 0x87 << QStringLiteral("LOGO+F24");
    QTest::newRow("keypad 0") << 1000 + 0x60 << QStringLiteral("CTRL+ALT+KP_0");
    QTest::newRow("keypad 9") << 1000 + 0x69 << QStringLiteral("CTRL+ALT+KP_9");
    QTest::newRow("keypad /") << 1000 + 0x6F << QStringLiteral("CTRL+ALT+KP_Divide");
    QTest::newRow("Page Up") << 2000 + 0x21 << QStringLiteral("CTRL+SHIFT+Prior");
    QTest::newRow("Delete") << 2000 + 0x2E << QStringLiteral("CTRL+SHIFT+Delete");
    QTest::newRow("space") << 1000 + 0x20 << QStringLiteral("CTRL+ALT+space");
    QTest::newRow("backslash") << 1000 + 0xDC << QStringLiteral("CTRL+ALT+backslash");
    QTest::newRow("apostrophe") << 1000 + 0xDE << QStringLiteral("CTRL+ALT+apostrophe");
    QTest::newRow("a key without a keysym") << 1000 + 0xFF << QString();
}

void PortalTriggerTest::fromHotKeyCode()
{
    QFETCH(int, code);
    QFETCH(QString, trigger);
    QCOMPARE(PortalTrigger::fromHotKeyCode(code), trigger);
}

QTEST_GUILESS_MAIN(PortalTriggerTest)
#include "tst_portaltrigger.moc"
