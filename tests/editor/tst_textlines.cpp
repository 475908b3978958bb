#include "editor/textlines.h"

#include <QTest>

using TextLines::Point;

Q_DECLARE_METATYPE(TextLines::Point)

namespace QTest {
template <> char *toString(const TextLines::Point &point)
{
    return qstrdup(QByteArray::number(point.line) + ':' + QByteArray::number(point.column));
}
} // namespace QTest

class TestTextLines : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void joinPutsCrLfBetweenLines_data();
    void joinPutsCrLfBetweenLines();
    void pointFromOffset_data();
    void pointFromOffset();
    void offsetFromPoint_data();
    void offsetFromPoint();
    void offsetsRoundTripOutsideBreaks();
};

void TestTextLines::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty text has no line") << QString() << QStringList();
    QTest::newRow("one line") << "alpha" << QStringList{"alpha"};
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("lone CR") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("lone LF") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("break at the end starts no line") << "a\r\n" << QStringList{"a"};
    QTest::newRow("lone CR at the end") << "a\r" << QStringList{"a"};
    QTest::newRow("two breaks at the end keep one empty line") << "a\r\n\r\n"
                                                               << QStringList{"a", ""};
    QTest::newRow("only a break") << "\r\n" << QStringList{""};
    QTest::newRow("LF then CR are two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("CR then CR LF are two breaks") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("mixed breaks") << "x\ny\rz\r\nw" << QStringList{"x", "y", "z", "w"};
    QTest::newRow("empty first line") << "\r\nb" << QStringList{"", "b"};
    QTest::newRow("tabs and blanks stay") << " a\t\r\n\t" << QStringList{" a\t", "\t"};
}

void TestTextLines::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextLines::split(text), lines);
}

void TestTextLines::joinPutsCrLfBetweenLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("text");

    QTest::newRow("no lines") << QStringList() << QString();
    QTest::newRow("one empty line") << QStringList{""} << QString();
    QTest::newRow("two lines") << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("empty last line") << QStringList{"a", ""} << "a\r\n";
}

void TestTextLines::joinPutsCrLfBetweenLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    QCOMPARE(TextLines::join(lines), text);
}

// "ab\r\n\r\ncde": offsets 0-1 "ab", 2-3 break, 4-5 break, 6-8 "cde".
void TestTextLines::pointFromOffset_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("offset");
    QTest::addColumn<Point>("point");

    const QStringList lines{"ab", "", "cde"};
    QTest::newRow("start") << lines << 0 << Point{0, 0};
    QTest::newRow("inside the first line") << lines << 1 << Point{0, 1};
    QTest::newRow("end of the first line") << lines << 2 << Point{0, 2};
    QTest::newRow("between CR and LF") << lines << 3 << Point{0, 2};
    QTest::newRow("empty line") << lines << 4 << Point{1, 0};
    QTest::newRow("inside the empty line's break") << lines << 5 << Point{1, 0};
    QTest::newRow("start of the last line") << lines << 6 << Point{2, 0};
    QTest::newRow("end of the text") << lines << 9 << Point{2, 3};
    QTest::newRow("beyond the end") << lines << 100 << Point{2, 3};
    QTest::newRow("negative") << lines << -5 << Point{0, 0};
    QTest::newRow("no lines") << QStringList() << 3 << Point{0, 0};
}

void TestTextLines::pointFromOffset()
{
    QFETCH(QStringList, lines);
    QFETCH(int, offset);
    QFETCH(Point, point);
    QCOMPARE(TextLines::pointFromOffset(lines, offset), point);
}

void TestTextLines::offsetFromPoint_data()
{
    QTest::addColumn<Point>("point");
    QTest::addColumn<int>("offset");

    QTest::newRow("start") << Point{0, 0} << 0;
    QTest::newRow("end of the first line") << Point{0, 2} << 2;
    QTest::newRow("empty line") << Point{1, 0} << 4;
    QTest::newRow("last line") << Point{2, 1} << 7;
    QTest::newRow("column beyond the line") << Point{2, 99} << 9;
    QTest::newRow("line beyond the text") << Point{9, 0} << 6;
    QTest::newRow("negative column") << Point{0, -1} << 0;
}

void TestTextLines::offsetFromPoint()
{
    QFETCH(Point, point);
    QFETCH(int, offset);
    QCOMPARE(TextLines::offsetFromPoint({"ab", "", "cde"}, point), offset);
}

void TestTextLines::offsetsRoundTripOutsideBreaks()
{
    const QStringList lines{"first", "", "\tthird line", "x"};
    const QString text = TextLines::join(lines);
    for (int offset = 0; offset <= text.size(); ++offset) {
        const bool insideBreak = offset > 0 && text.at(offset - 1) == u'\r';
        if (insideBreak)
            continue;
        const Point point = TextLines::pointFromOffset(lines, offset);
        QCOMPARE(TextLines::offsetFromPoint(lines, point), offset);
    }
}

QTEST_APPLESS_MAIN(TestTextLines)
#include "tst_textlines.moc"
