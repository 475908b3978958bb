#include "components/hotkeycode.h"

#include <QtTest>

// The stored hot key: modifier index * 1000 + virtual-key code, -1 for none.
class HotKeyCodeTest : public QObject
{
    Q_OBJECT

private slots:
    void splitsIntoModifierAndKey_data();
    void splitsIntoModifierAndKey();
    void composeIsTheInverse();
    void negativeCodesAreNone_data();
    void negativeCodesAreNone();
};

using Modifier = HotKeyCode::Modifier;
Q_DECLARE_METATYPE(HotKeyCode::Modifier)

void HotKeyCodeTest::splitsIntoModifierAndKey_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("key");
    QTest::addColumn<Modifier>("modifier");

    QTest::newRow("Win+A") << 65 << 0 << 65 << Modifier::Win;
    QTest::newRow("Ctrl+Alt+N") << 1078 << 1 << 78 << Modifier::CtrlAlt;
    QTest::newRow("Ctrl+Shift+A") << 2065 << 2 << 65 << Modifier::CtrlShift;
    QTest::newRow("Ctrl+Alt+F5") << 1116 << 1 << 116 << Modifier::CtrlAlt;
    QTest::newRow("index 3 is Win") << 3065 << 3 << 65 << Modifier::Win;
    QTest::newRow("index 9 is Win") << 9112 << 9 << 112 << Modifier::Win;
    QTest::newRow("key 0") << 2000 << 2 << 0 << Modifier::CtrlShift;
}

void HotKeyCodeTest::splitsIntoModifierAndKey()
{
    QFETCH(int, code);
    QFETCH(int, index);
    QFETCH(int, key);
    QFETCH(Modifier, modifier);

    const HotKeyCode hotKey(code);
    QVERIFY(!hotKey.isNone());
    QCOMPARE(hotKey.value(), code);
    QCOMPARE(hotKey.modifierIndex(), index);
    QCOMPARE(hotKey.virtualKey(), key);
    QCOMPARE(hotKey.modifier(), modifier);
}

void HotKeyCodeTest::composeIsTheInverse()
{
    for (int index = 0; index < 3; ++index) {
        for (int key = 0; key < 256; ++key) {
            const HotKeyCode hotKey = HotKeyCode::compose(index, key);
            QCOMPARE(hotKey.modifierIndex(), index);
            QCOMPARE(hotKey.virtualKey(), key);
        }
    }
}

void HotKeyCodeTest::negativeCodesAreNone_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("-1") << -1;
    QTest::newRow("typed modifier text") << HotKeyCode::compose(-1, 65).value();
}

void HotKeyCodeTest::negativeCodesAreNone()
{
    QFETCH(int, code);
    QVERIFY(HotKeyCode(code).isNone());
    QVERIFY(HotKeyCode().isNone());
}

QTEST_APPLESS_MAIN(HotKeyCodeTest)
#include "tst_hotkeycode.moc"
