#include "inistore/valuecodec.h"

#include <QtTest>
#include <cstring>

class TestValueCodec : public QObject
{
    Q_OBJECT

private slots:
    void encodeString_data();
    void encodeString();
    void decodeString_data();
    void decodeString();
    void everyByteRoundTripsThroughString();
    void decodeInt_data();
    void decodeInt();
    void encodeHex();
    void decodeHex_data();
    void decodeHex();
};

void TestValueCodec::encodeString_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("printable") << QByteArray("C:\\Backups ~") << QByteArray("C:\\Backups ~");
    QTest::newRow("hash") << QByteArray("a#b") << QByteArray("a#035b");
    QTest::newRow("line break") << QByteArray("A\r\nB") << QByteArray("A#013#010B");
    QTest::newRow("control and high bytes")
        << QByteArray("\x00\x7f\xe9\xff", 4) << QByteArray("#000#127#233#255");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestValueCodec::encodeString()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    QCOMPARE(QByteArray::fromStdString(ValueCodec::encodeString(text.toStdString())), stored);
}

void TestValueCodec::decodeString_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("escapes") << QByteArray("a#035b#013#010") << QByteArray("a#b\r\n");
    QTest::newRow("high byte") << QByteArray("Caf#233") << QByteArray("Caf\xe9");
    QTest::newRow("hash without digits stays") << QByteArray("a#b") << QByteArray("a#b");
    QTest::newRow("hash at the end stays") << QByteArray("ab#") << QByteArray("ab#");
    QTest::newRow("two digits stay") << QByteArray("#03") << QByteArray("#03");
    QTest::newRow("code never escaped stays") << QByteArray("#065") << QByteArray("#065");
    QTest::newRow("highest control code decodes") << QByteArray("a#031") << QByteArray("a\x1f");
    QTest::newRow("blank code stays") << QByteArray("a#032") << QByteArray("a#032");
    QTest::newRow("cut after one digit stays") << QByteArray("ab#0") << QByteArray("ab#0");
    QTest::newRow("cut after two digits stays") << QByteArray("ab#03") << QByteArray("ab#03");
    QTest::newRow("code too large stays") << QByteArray("#256") << QByteArray("#256");
    QTest::newRow("one bad hash keeps the whole text")
        << QByteArray("#035x#9") << QByteArray("#035x#9");
    QTest::newRow("plain") << QByteArray("plain text") << QByteArray("plain text");
}

// The stored text is decoded as a view into longer bytes that go on with digits, so that a
// decoder reading past the end of the view would take them into an escape.
void TestValueCodec::decodeString()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, text);
    const std::string bytes = stored.toStdString() + "0310";
    const std::string_view view(bytes.data(), static_cast<std::size_t>(stored.size()));
    QCOMPARE(QByteArray::fromStdString(ValueCodec::decodeString(view)), text);
}

void TestValueCodec::everyByteRoundTripsThroughString()
{
    std::string all;
    for (int code = 0; code < 256; ++code)
        all += static_cast<char>(code);
    QCOMPARE(ValueCodec::decodeString(ValueCodec::encodeString(all)), all);
}

void TestValueCodec::decodeInt_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("positive") << QByteArray("3065") << true << 3065;
    QTest::newRow("negative") << QByteArray("-1") << true << -1;
    QTest::newRow("leading blank") << QByteArray("  42") << true << 42;
    // Every byte up to the blank counts as blank in front of a number, as in the line trim.
    QTest::newRow("leading tab") << QByteArray("\t42") << true << 42;
    QTest::newRow("leading control characters") << QByteArray("\x01\x1f \t-7") << true << -7;
    QTest::newRow("leading NUL") << QByteArray(1, '\0') + '5' << true << 5;
    QTest::newRow("leading delete character") << QByteArray(1, '\x7f') + '5' << false << 0;
    QTest::newRow("trailing tab") << QByteArray("5\t") << false << 0;
    QTest::newRow("tab after the sign") << QByteArray("-\t5") << false << 0;
    QTest::newRow("lowest") << QByteArray("-2147483648") << true << int(-2147483647 - 1);
    QTest::newRow("highest") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("too large") << QByteArray("2147483648") << false << 0;
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("sign only") << QByteArray("-") << false << 0;
    QTest::newRow("letters") << QByteArray("12a") << false << 0;
    QTest::newRow("fraction") << QByteArray("1.5") << false << 0;
}

void TestValueCodec::decodeInt()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto decoded = ValueCodec::decodeInt(stored.toStdString());
    QCOMPARE(decoded.has_value(), valid);
    if (valid)
        QCOMPARE(*decoded, value);
    if (valid)
        QCOMPARE(ValueCodec::decodeInt(ValueCodec::encodeInt(value)), decoded);
}

void TestValueCodec::encodeHex()
{
    const std::uint32_t value = 255;
    QCOMPARE(QByteArray::fromStdString(ValueCodec::encodeHex(&value, sizeof value)),
             QByteArray("FF000000"));
    unsigned char password[31] = {};
    password[0] = 3;
    std::memcpy(password + 1, "abc", 3);
    const std::string stored = ValueCodec::encodeHex(password, sizeof password);
    QCOMPARE(stored.size(), std::size_t(62));
    QCOMPARE(QByteArray::fromStdString(stored).left(8), QByteArray("03616263"));
}

void TestValueCodec::decodeHex_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("filled");
    QTest::addColumn<QByteArray>("bytes");
    // The target holds four bytes 0xEE before each decode.
    QTest::newRow("full") << QByteArray("0A1b2C3d") << 4 << QByteArray::fromHex("0a1b2c3d");
    QTest::newRow("short text leaves the rest")
        << QByteArray("0141") << 2 << QByteArray::fromHex("0141eeee");
    QTest::newRow("odd last character ignored")
        << QByteArray("01F") << 1 << QByteArray::fromHex("01eeeeee");
    QTest::newRow("longer text ignored")
        << QByteArray("0102030405") << 4 << QByteArray::fromHex("01020304");
    QTest::newRow("blank counts as zero")
        << QByteArray(" 1F ") << 2 << QByteArray::fromHex("01f0eeee");
    QTest::newRow("bad pair yields zero")
        << QByteArray("G1FFzz") << 3 << QByteArray::fromHex("00ff00ee");
    QTest::newRow("empty changes nothing") << QByteArray() << 0 << QByteArray::fromHex("eeeeeeee");
}

void TestValueCodec::decodeHex()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, filled);
    QFETCH(QByteArray, bytes);
    unsigned char target[4];
    std::memset(target, 0xEE, sizeof target);
    QCOMPARE(ValueCodec::decodeHex(stored.toStdString(), target, sizeof target),
             std::size_t(filled));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(target), 4), bytes);
}

QTEST_GUILESS_MAIN(TestValueCodec)
#include "tst_valuecodec.moc"
