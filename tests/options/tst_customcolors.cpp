#include "options/customcolors.h"

#include <QTest>

class TestCustomColors : public QObject
{
    Q_OBJECT

private slots:
    void encodeWritesWindowsValues();
    void roundTrip();
    void decode_data();
    void decode();
};

void TestCustomColors::encodeWritesWindowsValues()
{
    CustomColors::Colors colors;
    colors[0] = QColor(0x12, 0x34, 0x56);
    colors[2] = QColor(0xAB, 0xCD, 0xEF);
    colors[15] = QColor(Qt::black);
    QCOMPARE(CustomColors::encode(colors),
             QStringLiteral("ColorA=563412\r\nColorC=EFCDAB\r\nColorP=000000"));
    QCOMPARE(CustomColors::encode({}), QString());
}

void TestCustomColors::roundTrip()
{
    CustomColors::Colors colors;
    for (int i = 0; i < CustomColors::Count; ++i)
        colors[i] = QColor(i * 16, 255 - i * 7, (i * 37) % 256);
    const QString text = CustomColors::encode(colors);
    QCOMPARE(text.count(QStringLiteral("\r\n")), CustomColors::Count - 1);
    QCOMPARE(CustomColors::decode(text), colors);
}

void TestCustomColors::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("color"); // invalid: unset

    QTest::newRow("empty text") << "" << 0 << QColor();
    QTest::newRow("missing line leaves the colour unset") << "ColorA=000000" << 1 << QColor();
    QTest::newRow("later letter") << "ColorA=000000\r\nColorP=0000FF" << 15 << QColor(0xFF, 0, 0);
    QTest::newRow("fewer digits") << "ColorB=ff" << 1 << QColor(0xFF, 0, 0);
    QTest::newRow("name in another case") << "colorc=00FF00" << 2 << QColor(0, 0xFF, 0);
    QTest::newRow("line feeds alone") << "ColorA=000000\nColorB=FF0000" << 1 << QColor(0, 0, 0xFF);
    QTest::newRow("first of two lines counts")
        << "ColorA=0000FF\r\nColorA=00FF00" << 0 << QColor(0xFF, 0, 0);
    QTest::newRow("letter beyond P") << "ColorQ=0000FF" << 0 << QColor();
    QTest::newRow("not hexadecimal") << "ColorA=GG0000" << 0 << QColor();
    QTest::newRow("more than six digits") << "ColorA=1000000" << 0 << QColor();
    QTest::newRow("no value") << "ColorA=" << 0 << QColor();
    QTest::newRow("blank before the name") << " ColorA=0000FF" << 0 << QColor();
    QTest::newRow("malformed line before a good one")
        << "ColorA=zz\r\nColorA=0000FF" << 0 << QColor(0xFF, 0, 0);
}

void TestCustomColors::decode()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QTEST(CustomColors::decode(text)[index], "color");
}

QTEST_GUILESS_MAIN(TestCustomColors)
#include "tst_customcolors.moc"
