#include "inistore/contenthash.h"

#include <QtTest>
#include <string>

namespace {

// Bytes that differ from word to word, so that a lane mixing the wrong word shows.
std::string sampleBytes(int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>('A' + (i * 7) % 53));
    return bytes;
}

} // namespace

class TestContentHash : public QObject
{
    Q_OBJECT

private slots:
    void sameValueHoweverCut_data();
    void sameValueHoweverCut();
    void oneChangedByteChangesValue_data();
    void oneChangedByteChangesValue();
    void trailingZerosChangeValue_data();
    void trailingZerosChangeValue();
};

void TestContentHash::sameValueHoweverCut_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieceSize");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("less than a word, byte by byte") << 7 << 1;
    QTest::newRow("one block, byte by byte") << 16 << 1;
    QTest::newRow("blocks and a tail, in fives") << 101 << 5;
    QTest::newRow("pieces of one block") << 96 << 16;
    QTest::newRow("pieces of a block and one") << 1000 << 17;
    QTest::newRow("pieces of a block less one") << 1000 << 15;
    QTest::newRow("pieces of four words") << 1000 << 32;
    QTest::newRow("pieces of four words and one") << 1000 << 33;
    QTest::newRow("large pieces") << 70000 << 4099;
}

void TestContentHash::sameValueHoweverCut()
{
    QFETCH(int, size);
    QFETCH(int, pieceSize);
    const std::string bytes = sampleBytes(size);
    ContentHash hash;
    for (std::size_t at = 0; at < bytes.size(); at += std::size_t(pieceSize))
        hash.add(std::string_view(bytes).substr(at, std::size_t(pieceSize)));
    const ContentHash::Value whole = ContentHash::of(bytes);
    QCOMPARE(hash.value(), whole);
    QCOMPARE(whole.size, std::uint64_t(size));
}

void TestContentHash::oneChangedByteChangesValue_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("position");
    QTest::newRow("first byte") << 100 << 0;
    QTest::newRow("last byte of the first word") << 100 << 7;
    QTest::newRow("second word of a block") << 100 << 8;
    QTest::newRow("last byte of a block") << 100 << 15;
    QTest::newRow("third word of a block") << 100 << 16;
    QTest::newRow("fourth word of a block") << 100 << 31;
    QTest::newRow("first word of the second block") << 100 << 32;
    QTest::newRow("in the middle") << 100 << 50;
    QTest::newRow("in the unfilled last block") << 100 << 99;
    QTest::newRow("only a tail") << 5 << 4;
    QTest::newRow("high bit in a large stream") << 70000 << 65536;
}

void TestContentHash::oneChangedByteChangesValue()
{
    QFETCH(int, size);
    QFETCH(int, position);
    const std::string bytes = sampleBytes(size);
    for (const int flip : {0x01, 0x80, 0xff}) {
        std::string changed = bytes;
        changed[std::size_t(position)] = static_cast<char>(changed[std::size_t(position)] ^ flip);
        const ContentHash::Value before = ContentHash::of(bytes);
        const ContentHash::Value after = ContentHash::of(changed);
        QVERIFY2(before.first != after.first || before.second != after.second,
                 qPrintable(QString("flip %1").arg(flip)));
    }
}

void TestContentHash::trailingZerosChangeValue_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("within a block") << 3;
    QTest::newRow("whole blocks") << 32;
}

// The last block is padded with zeros: only the size tells the padding from zeros that are
// there.
void TestContentHash::trailingZerosChangeValue()
{
    QFETCH(int, size);
    const std::string bytes = sampleBytes(size);
    const ContentHash::Value before = ContentHash::of(bytes);
    const ContentHash::Value after = ContentHash::of(bytes + std::string(1, '\0'));
    QVERIFY(before.first != after.first || before.second != after.second);
}

QTEST_APPLESS_MAIN(TestContentHash)
#include "tst_contenthash.moc"
