#include "inistore/linecipher.h"

#include <QtTest>

namespace {

QString vectorPath(const char *name)
{
    return qEnvironmentVariable("QUILLBOX_TEST_DATA") + "/vectors/" + name;
}

QList<QByteArrayList> tableRows(const char *name)
{
    QFile file(vectorPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArrayList> rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            rows << line.split('\t');
    }
    return rows;
}

std::string bytes(const QByteArray &data)
{
    return data.toStdString();
}

QByteArray allBytes()
{
    QByteArray data;
    for (int code = 0; code < 256; ++code)
        data += static_cast<char>(code);
    return data;
}

} // namespace

class TestLineCipher : public QObject
{
    Q_OBJECT

private slots:
    void referenceVectors_data();
    void referenceVectors();
    void seedVectors_data();
    void seedVectors();
    void everyByteRoundTrips_data();
    void everyByteRoundTrips();
    void singleLetterStaysPrintable();
    void highByteAtEveryPlace_data();
    void highByteAtEveryPlace();
    void malformedInputDeciphersWithoutFault_data();
    void malformedInputDeciphersWithoutFault();
};

void TestLineCipher::referenceVectors_data()
{
    QTest::addColumn<quint32>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("enciphered");
    const QList<QByteArrayList> rows = tableRows("cipher.tsv");
    QVERIFY2(rows.size() > 10, "cipher.tsv missing");
    int row = 0;
    for (const QByteArrayList &fields : rows) {
        QTest::addRow("%s %d key %s", fields.value(0).constData(), row++,
                      fields.value(1).constData())
            << fields.value(1).toUInt() << QByteArray::fromHex(fields.value(2))
            << QByteArray::fromHex(fields.value(3));
    }
}

void TestLineCipher::referenceVectors()
{
    QFETCH(quint32, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, enciphered);
    QCOMPARE(QByteArray::fromStdString(LineCipher::encipher(bytes(plain), key)), enciphered);
    QCOMPARE(QByteArray::fromStdString(LineCipher::decipher(bytes(enciphered), key)), plain);
}

void TestLineCipher::seedVectors_data()
{
    QTest::addColumn<quint32>("milliseconds");
    QTest::addColumn<int>("seed");
    const QList<QByteArrayList> rows = tableRows("seed.tsv");
    QVERIFY2(rows.size() > 5, "seed.tsv missing");
    for (const QByteArrayList &fields : rows) {
        QTest::addRow("%s ms", fields.value(0).constData())
            << fields.value(0).toUInt() << fields.value(1).toInt();
    }
}

void TestLineCipher::seedVectors()
{
    QFETCH(quint32, milliseconds);
    QFETCH(int, seed);
    QCOMPARE(LineCipher::seedFor(milliseconds), seed);
}

void TestLineCipher::everyByteRoundTrips_data()
{
    QTest::addColumn<quint32>("key");
    for (const quint32 key : {0u, 1u, 1002u, 7345u, 11000u, 2147483647u, 4294967295u})
        QTest::addRow("key %u", key) << key;
}

void TestLineCipher::everyByteRoundTrips()
{
    QFETCH(quint32, key);
    const QByteArray plain = allBytes();
    const std::string enciphered = LineCipher::encipher(bytes(plain), key);
    QCOMPARE(enciphered.size(), std::size_t(256 + 33));
    for (const char c : enciphered)
        QVERIFY(static_cast<unsigned char>(c) >= 32);
    QCOMPARE(QByteArray::fromStdString(LineCipher::decipher(enciphered, key)), plain);

    const std::string oldScheme = LineCipher::encipher(bytes(plain.left(223)), key);
    QCOMPARE(oldScheme.size(), std::size_t(223));
    QVERIFY(oldScheme.find('\xff') == std::string::npos);
}

void TestLineCipher::singleLetterStaysPrintable()
{
    for (quint32 key = 0; key < 100000; key += 7) {
        const std::string enciphered = LineCipher::encipher("A", key);
        QCOMPARE(enciphered.size(), std::size_t(1));
        const auto code = static_cast<unsigned char>(enciphered[0]);
        QVERIFY(code >= 32 && code <= 254);
    }
}

void TestLineCipher::highByteAtEveryPlace_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("code");
    // The line's bytes are looked at eight at a time: every place in and after the words.
    for (int place = 0; place < 20; ++place) {
        QTest::addRow("escaped 0xE9 at %d", place) << place << 0xE9;
        QTest::addRow("escaped 0xDF at %d", place) << place << 0xDF;
        QTest::addRow("plain 0xC9 at %d", place) << place << 0xC9;
    }
}

void TestLineCipher::highByteAtEveryPlace()
{
    QFETCH(int, place);
    QFETCH(int, code);
    std::string plain(20, 'a');
    plain[std::size_t(place)] = static_cast<char>(code);
    const bool escaped = code >= LineCipher::escapeBase;
    const std::size_t size = escaped ? 21 : 20;
    QCOMPARE(LineCipher::encipheredSize(plain), size);
    const std::string enciphered = LineCipher::encipher(plain, 1234);
    QCOMPARE(enciphered.size(), size);
    QCOMPARE(enciphered.find('\xff'), escaped ? std::size_t(place) : std::string::npos);
    QCOMPARE(LineCipher::decipher(enciphered, 1234), plain);
}

void TestLineCipher::malformedInputDeciphersWithoutFault_data()
{
    QTest::addColumn<QByteArray>("enciphered");
    QTest::addColumn<int>("size");
    QTest::newRow("escape at the end") << QByteArray("ab\xff") << 2;
    QTest::newRow("escape twice") << QByteArray("\xff\xff") << 1;
    QTest::newRow("control bytes") << QByteArray("\x01\x02\x1f", 3) << 3;
    QTest::newRow("zero bytes") << QByteArray("\0\0", 2) << 2;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestLineCipher::malformedInputDeciphersWithoutFault()
{
    QFETCH(QByteArray, enciphered);
    QFETCH(int, size);
    QCOMPARE(LineCipher::decipher(bytes(enciphered), 1234).size(), std::size_t(size));
}

QTEST_GUILESS_MAIN(TestLineCipher)
#include "tst_linecipher.moc"
