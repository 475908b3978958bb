#include <QIcon>
#include <QImage>
#include <QtTest>

// The application icon is compiled into every program that links quillbox_resources, as a
// scalable SVG and as PNGs for platforms without the SVG icon engine.
class IconResourceTest : public QObject
{
    Q_OBJECT

private slots:
    void pngIconsHaveTheirSize_data();
    void pngIconsHaveTheirSize();
    void svgIconRendersAtTraySizes_data();
    void svgIconRendersAtTraySizes();
};

void IconResourceTest::pngIconsHaveTheirSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::newRow("32") << QStringLiteral(":/icons/quillbox-32.png") << 32;
    QTest::newRow("64") << QStringLiteral(":/icons/quillbox-64.png") << 64;
}

void IconResourceTest::pngIconsHaveTheirSize()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
}

void IconResourceTest::svgIconRendersAtTraySizes_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("22") << 22;
    QTest::newRow("256") << 256;
}

void IconResourceTest::svgIconRendersAtTraySizes()
{
    QFETCH(int, size);
    const QIcon icon(QStringLiteral(":/icons/quillbox.svg"));
    const QImage image = icon.pixmap(size, size).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    const QRgb centre = image.pixel(size / 2, size / 2);
    QVERIFY2(qAlpha(centre) > 0, "the SVG icon engine drew nothing");
}

QTEST_MAIN(IconResourceTest)
#include "tst_iconresource.moc"
