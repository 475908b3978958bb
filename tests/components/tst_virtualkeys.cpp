#include "components/virtualkeys.h"

#include <QtTest>

// The table between stored virtual-key codes, X keysyms and Qt keys, one row per key of every
// group the hot key can use.
class VirtualKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyRoundTrips_data();
    void everyKeyRoundTrips();
    void otherWaysToTheSameKey_data();
    void otherWaysToTheSameKey();
    void unknownKeysGiveZero();
};

namespace {

void addKey(const char *name, int vk, quint32 keysym, int qtKey)
{
    QTest::newRow(name) << vk << keysym << qtKey;
}

} // namespace

void VirtualKeysTest::everyKeyRoundTrips_data()
{
    QTest::addColumn<int>("vk");
    QTest::addColumn<quint32>("keysym");
    QTest::addColumn<int>("qtKey");

    for (char c = 'A'; c <= 'Z'; ++c) {
        const QByteArray name = QByteArray("letter ") + c;
        addKey(name.constData(), c, quint32(c - 'A' + 'a'), Qt::Key_A + (c - 'A'));
    }
    for (char c = '0'; c <= '9'; ++c) {
        const QByteArray name = QByteArray("digit ") + c;
        addKey(name.constData(), c, quint32(c), Qt::Key_0 + (c - '0'));
    }
    for (int i = 0; i < 24; ++i) {
        const QByteArray name = "F" + QByteArray::number(i + 1);
        addKey(name.constData(), 0x70 + i, 0xffbe + i, Qt::Key_F1 + i);
    }
    for (int i = 0; i < 10; ++i) {
        const QByteArray name = "keypad " + QByteArray::number(i);
        addKey(name.constData(), 0x60 + i, 0xffb0 + i, (Qt::Key_0 + i) | Qt::KeypadModifier);
    }
    const int keypad = Qt::KeypadModifier;
    addKey("keypad *", 0x6A, 0xffaa, Qt::Key_Asterisk | keypad);
    addKey("keypad +", 0x6B, 0xffab, Qt::Key_Plus | keypad);
    addKey("keypad -", 0x6D, 0xffad, Qt::Key_Minus | keypad);
    addKey("keypad .", 0x6E, 0xffae, Qt::Key_Period | keypad);
    addKey("keypad /", 0x6F, 0xffaf, Qt::Key_Slash | keypad);
    addKey("Left", 0x25, 0xff51, Qt::Key_Left);
    addKey("Up", 0x26, 0xff52, Qt::Key_Up);
    addKey("Right", 0x27, 0xff53, Qt::Key_Right);
    addKey("Down", 0x28, 0xff54, Qt::Key_Down);
    addKey("Home", 0x24, 0xff50, Qt::Key_Home);
    addKey("End", 0x23, 0xff57, Qt::Key_End);
    addKey("PgUp", 0x21, 0xff55, Qt::Key_PageUp);
    addKey("PgDn", 0x22, 0xff56, Qt::Key_PageDown);
    addKey("Insert", 0x2D, 0xff63, Qt::Key_Insert);
    addKey("Delete", 0x2E, 0xffff, Qt::Key_Delete);
    addKey("Space", 0x20, 0x20, Qt::Key_Space);
    addKey("Enter", 0x0D, 0xff0d, Qt::Key_Return);
    addKey("Tab", 0x09, 0xff09, Qt::Key_Tab);
    addKey("Backspace", 0x08, 0xff08, Qt::Key_Backspace);
    addKey("Escape", 0x1B, 0xff1b, Qt::Key_Escape);
    addKey("Pause", 0x13, 0xff13, Qt::Key_Pause);
    addKey(";", 0xBA, ';', Qt::Key_Semicolon);
    addKey("=", 0xBB, '=', Qt::Key_Equal);
    addKey(",", 0xBC, ',', Qt::Key_Comma);
    addKey("-", 0xBD, '-', Qt::Key_Minus);
    addKey(".", 0xBE, '.', Qt::Key_Period);
    addKey("/", 0xBF, '/', Qt::Key_Slash);
    addKey("`", 0xC0, '`', Qt::Key_QuoteLeft);
    addKey("[", 0xDB, '[', Qt::Key_BracketLeft);
    addKey("backslash", 0xDC, '\\', Qt::Key_Backslash);
    addKey("]", 0xDD, ']', Qt::Key_BracketRight);
    addKey("'", 0xDE, '\'', Qt::Key_Apostrophe);
}

void VirtualKeysTest::everyKeyRoundTrips()
{
    QFETCH(int, vk);
    QFETCH(quint32, keysym);
    QFETCH(int, qtKey);

    QCOMPARE(VirtualKeys::keysymFromVk(vk), keysym);
    QCOMPARE(VirtualKeys::qtKeyFromVk(vk), qtKey);
    QCOMPARE(VirtualKeys::vkFromKeysym(keysym), vk);
    QCOMPARE(VirtualKeys::vkFromQtKey(qtKey), vk);
}

void VirtualKeysTest::otherWaysToTheSameKey_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<quint32>("keysym");
    QTest::addColumn<int>("vk");

    const int keypad = Qt::KeypadModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Shift+1 gives !") << int(Qt::Key_Exclam) << 0u << int('1');
    QTest::newRow("Shift+8 gives *") << int(Qt::Key_Asterisk) << 0u << int('8');
    QTest::newRow("Shift+= gives +") << int(Qt::Key_Plus) << 0u << 0xBB;
    QTest::newRow("Shift+; gives :") << int(Qt::Key_Colon) << 0u << 0xBA;
    QTest::newRow("Shift+' gives \"") << int(Qt::Key_QuoteDbl) << 0u << 0xDE;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << 0u << 0x09;
    QTest::newRow("keypad Enter") << (Qt::Key_Enter | keypad) << 0xff8du << 0x0D;
    QTest::newRow("keypad Home (NumLock off)") << (Qt::Key_Home | keypad) << 0u << 0x24;
    QTest::newRow("modifiers ignored") << (Qt::Key_N | shift | ctrl) << 0u << int('N');
    QTest::newRow("upper-case keysym") << 0 << quint32('Q') << int('Q');
}

void VirtualKeysTest::otherWaysToTheSameKey()
{
    QFETCH(int, qtKey);
    QFETCH(quint32, keysym);
    QFETCH(int, vk);

    if (qtKey)
        QCOMPARE(VirtualKeys::vkFromQtKey(qtKey), vk);
    if (keysym)
        QCOMPARE(VirtualKeys::vkFromKeysym(keysym), vk);
}

void VirtualKeysTest::unknownKeysGiveZero()
{
    QCOMPARE(VirtualKeys::keysymFromVk(0), 0u);
    QCOMPARE(VirtualKeys::keysymFromVk(0xFF), 0u);
    QCOMPARE(VirtualKeys::keysymFromVk(999), 0u);
    QCOMPARE(VirtualKeys::qtKeyFromVk(0x5B), 0); // the Windows key itself
    QCOMPARE(VirtualKeys::vkFromQtKey(Qt::Key_Shift), 0);
    QCOMPARE(VirtualKeys::vkFromQtKey(Qt::Key_Meta), 0);
    QCOMPARE(VirtualKeys::vkFromKeysym(0xffe1), 0); // Shift_L
}

QTEST_APPLESS_MAIN(VirtualKeysTest)
#include "tst_virtualkeys.moc"
