#include "notes/notestext.h"
#include "notes/storedlines.h"

#include <QTest>
#include <string>
#include <vector>

using ByteLines = std::vector<std::string>;
Q_DECLARE_METATYPE(ByteLines)

// A page's stored lines give the text reading the lines one by one gives, and hold the bytes a
// write of that text writes.
class StoredLinesTest : public QObject
{
    Q_OBJECT

private slots:
    void linesAreTheTextReadingGives_data();
    void linesAreTheTextReadingGives();
    void linesBetterKeptAsText_data();
    void linesBetterKeptAsText();
};

void StoredLinesTest::linesAreTheTextReadingGives_data()
{
    QTest::addColumn<ByteLines>("stored");

    QTest::newRow("ASCII lines") << ByteLines{"one", "two  three"};
    QTest::newRow("empty lines inside") << ByteLines{"one", "", "", "four"};
    QTest::newRow("one empty line") << ByteLines{""};
    QTest::newRow("empty last line") << ByteLines{"one", ""};
    QTest::newRow("UTF-8") << ByteLines{"caf\xc3\xa9", "\xe2\x82\xac 5", "\xf0\x9f\x98\x80"};
    QTest::newRow("Windows-1252") << ByteLines{"caf\xe9", "\x80 5", "\x93quoted\x94"};
    QTest::newRow("Windows-1252 between UTF-8 and ASCII")
        << ByteLines{"na\xc3\xafve", "M\xfcller", "plain"};
    QTest::newRow("bytes Windows-1252 leaves undefined") << ByteLines{"\x81\x8d\x8f\x90\x9d"};
    QTest::newRow("a UTF-8 byte-order mark starting lines")
        << ByteLines{"\357\273\277first", "x", "\357\273\277third"};
    QTest::newRow("a NUL inside a line") << ByteLines{std::string("a\0b", 3), "c"};
    QTest::newRow("a cut UTF-8 sequence") << ByteLines{"\xc3", "\xe2\x82"};
}

void StoredLinesTest::linesAreTheTextReadingGives()
{
    QFETCH(ByteLines, stored);
    const QStringList text = NotesText::fromByteLines(stored);
    const ByteLines written = NotesText::toByteLines(text);

    const std::shared_ptr<const StoredLines> lines = StoredLines::of(stored);
    QVERIFY(lines);
    QCOMPARE(lines->count(), int(stored.size()));
    QCOMPARE(lines->lines(), text);
    QCOMPARE(lines->byteLines(), written);
    for (int i = 0; i < lines->count(); ++i)
        QCOMPARE(std::string(lines->line(i)), written[size_t(i)]);
    QString searched;
    for (const QString &line : text)
        searched += line + QStringLiteral("\r\n");
    QCOMPARE(lines->searchText(), searched);
}

void StoredLinesTest::linesBetterKeptAsText_data()
{
    QTest::addColumn<ByteLines>("stored");

    QTest::newRow("no lines") << ByteLines{};
    QTest::newRow("a carriage return inside a line") << ByteLines{"one", "two\rthree"};
    QTest::newRow("a line feed inside a line") << ByteLines{"one\ntwo"};
}

// Such lines are kept as text, where a write splits a line holding a line break.
void StoredLinesTest::linesBetterKeptAsText()
{
    QFETCH(ByteLines, stored);
    QVERIFY(!StoredLines::of(stored));
}

QTEST_GUILESS_MAIN(StoredLinesTest)
#include "tst_storedlines.moc"
