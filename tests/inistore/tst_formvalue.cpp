#include "inistore/formvalue.h"

#include <QtTest>

using FormValue::Bounds;
using FormValue::Rect;

Q_DECLARE_METATYPE(Rect)

class TestFormValue : public QObject
{
    Q_OBJECT

private slots:
    void encode();
    void decode_data();
    void decode();
    void placeOnWorkArea_data();
    void placeOnWorkArea();
};

void TestFormValue::encode()
{
    QCOMPARE(FormValue::encode({{249, 109, 666, 577}, false}), std::string("249,109,666,577,0"));
    QCOMPARE(FormValue::encode({{-5, 0, 600, 400}, true}), std::string("-5,0,600,400,1"));
}

void TestFormValue::decode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Rect>("normal");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("maximized") << QByteArray("100,50,600,400,1") << true << Rect{100, 50, 600, 400}
                               << true;
    QTest::newRow("normal") << QByteArray("-5000,0,600,400,0") << true << Rect{-5000, 0, 600, 400}
                            << false;
    QTest::newRow("fifth not 0 or 1")
        << QByteArray("1,2,3,4,2") << true << Rect{1, 2, 3, 4} << false;
    QTest::newRow("fifth with blank")
        << QByteArray("1,2,3,4, 1") << true << Rect{1, 2, 3, 4} << false;
    QTest::newRow("fifth missing") << QByteArray("1,2,3,4") << true << Rect{1, 2, 3, 4} << false;
    QTest::newRow("extra fields ignored")
        << QByteArray("1,2,3,4,1,9") << true << Rect{1, 2, 3, 4} << true;
    QTest::newRow("non-integer among first four")
        << QByteArray("1,x,3,4,1") << false << Rect{} << false;
    QTest::newRow("too few fields") << QByteArray("1,2,3") << false << Rect{} << false;
    QTest::newRow("empty") << QByteArray() << false << Rect{} << false;
}

void TestFormValue::decode()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, valid);
    QFETCH(Rect, normal);
    QFETCH(bool, maximized);
    const auto bounds = FormValue::decode(value.toStdString());
    QCOMPARE(bounds.has_value(), valid);
    if (!valid)
        return;
    QVERIFY(bounds->normal == normal);
    QCOMPARE(bounds->maximized, maximized);
}

void TestFormValue::placeOnWorkArea_data()
{
    QTest::addColumn<Rect>("stored");
    QTest::addColumn<bool>("sizeable");
    QTest::addColumn<Rect>("placed");
    // Work area (0, 40) 1920 x 1000; the window's own size is 666 x 577.
    QTest::newRow("inside kept") << Rect{100, 50, 600, 400} << true << Rect{100, 50, 600, 400};
    QTest::newRow("far left moved") << Rect{-5000, 0, 600, 400} << true << Rect{0, 40, 600, 400};
    QTest::newRow("above moved") << Rect{100, 39, 600, 400} << true << Rect{0, 40, 600, 400};
    QTest::newRow("right and bottom edges inside")
        << Rect{1920, 1040, 600, 400} << true << Rect{1920, 1040, 600, 400};
    QTest::newRow("beyond right edge moved")
        << Rect{1921, 100, 600, 400} << true << Rect{0, 40, 600, 400};
    QTest::newRow("zero width takes work area")
        << Rect{10, 50, 0, 400} << true << Rect{10, 50, 1920, 1000};
    QTest::newRow("too tall takes work area")
        << Rect{10, 50, 600, 1001} << true << Rect{10, 50, 1920, 1000};
    QTest::newRow("fixed border keeps own size")
        << Rect{10, 50, 0, 5000} << false << Rect{10, 50, 666, 577};
}

void TestFormValue::placeOnWorkArea()
{
    QFETCH(Rect, stored);
    QFETCH(bool, sizeable);
    QFETCH(Rect, placed);
    const Rect result = FormValue::placeOnWorkArea(stored, {0, 40, 1920, 1000}, sizeable, 666, 577);
    QVERIFY2(result == placed,
             QByteArray::number(result.left) + ',' + QByteArray::number(result.top) + ',' +
                 QByteArray::number(result.width) + ',' + QByteArray::number(result.height));
}

QTEST_GUILESS_MAIN(TestFormValue)
#include "tst_formvalue.moc"
