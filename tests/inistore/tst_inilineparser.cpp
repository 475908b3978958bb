#include "inistore/inierror.h"
#include "inistore/inilineparser.h"

#include <QtTest>

class TestIniLineParser : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void malformedMarkerRaises_data();
    void malformedMarkerRaises();
};

// Each row feeds its lines in order; for every line it expects the entry ("-" for none) and
// whether the line belongs to user block 0.
void TestIniLineParser::parse_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("entries");
    QTest::addColumn<QByteArray>("blockZero");

    QTest::newRow("key before any header")
        << QByteArrayList({"k=v"}) << QByteArrayList({";k=v"}) << QByteArray("1");
    QTest::newRow("blanks around key, equals and value")
        << QByteArrayList({"[Notes]", " \t Key  =  value  \r"})
        << QByteArrayList({"-", "Notes;Key=  value"}) << QByteArray("11");
    QTest::newRow("header trimmed, semicolons removed")
        << QByteArrayList({"[ No;tes Page0 ]", "a=1"}) << QByteArrayList({"-", "Notes Page0;a=1"})
        << QByteArray("11");
    QTest::newRow("key loses semicolons, value keeps equals")
        << QByteArrayList({"[S]", "a;b=c=d"}) << QByteArrayList({"-", "S;ab=c=d"})
        << QByteArray("11");
    QTest::newRow("empty value") << QByteArrayList({"[S]", "Empty="})
                                 << QByteArrayList({"-", "S;Empty="}) << QByteArray("11");
    QTest::newRow("lines without equals carry nothing")
        << QByteArrayList({"[S]", "; a comment", "", "   ", "just text"})
        << QByteArrayList({"-", "-", "-", "-", "-"}) << QByteArray("11111");
    QTest::newRow("single star header is a section")
        << QByteArrayList({"[*x]", "k=1", "[*]", "k=2"})
        << QByteArrayList({"-", "*x;k=1", "-", "*;k=2"}) << QByteArray("1111");
    QTest::newRow("user block skipped until block 0 returns")
        << QByteArrayList({"[S]", "a=1", "[**2]", "b=2", "[T]", "c=3", "[**0]", "d=4"})
        << QByteArrayList({"-", "S;a=1", "-", "-", "-", "-", "-", "T;d=4"})
        << QByteArray("11000011");
    QTest::newRow("marker with comment and blanks")
        << QByteArrayList({"[** 3 ;user data]", "x=1", "[**0;back]", "y=2"})
        << QByteArrayList({"-", "-", "-", ";y=2"}) << QByteArray("0011");
    QTest::newRow("negative block is not block 0")
        << QByteArrayList({"[**-1]", "x=1"}) << QByteArrayList({"-", "-"}) << QByteArray("00");
    QTest::newRow("same header twice")
        << QByteArrayList({"[S]", "a=1", "[T]", "b=2", "[s]", "c=3"})
        << QByteArrayList({"-", "S;a=1", "-", "T;b=2", "-", "s;c=3"}) << QByteArray("111111");
    QTest::newRow("bracket line without closing is a key line")
        << QByteArrayList({"[S", "[a=b"}) << QByteArrayList({"-", ";[a=b"}) << QByteArray("11");
}

void TestIniLineParser::parse()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, entries);
    QFETCH(QByteArray, blockZero);
    IniLineParser parser;
    for (int i = 0; i < lines.size(); ++i) {
        const IniLineParser::Result result = parser.parse(lines[i].toStdString());
        const QByteArray entry =
            result.entry ? QByteArray(result.entry->data(), qsizetype(result.entry->size()))
                         : QByteArray("-");
        QCOMPARE(entry, entries[i]);
        QCOMPARE(result.inBlockZero, blockZero[i] == '1');
    }
}

void TestIniLineParser::malformedMarkerRaises_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("letters") << QByteArray("[**abc]");
    QTest::newRow("empty") << QByteArray("[**]");
    QTest::newRow("only comment") << QByteArray("[**;2]");
    QTest::newRow("too large") << QByteArray("[**99999999999]");
}

void TestIniLineParser::malformedMarkerRaises()
{
    QFETCH(QByteArray, line);
    IniLineParser parser;
    QVERIFY_THROWS_EXCEPTION(IniError, parser.parse(line.toStdString()));
}

QTEST_GUILESS_MAIN(TestIniLineParser)
#include "tst_inilineparser.moc"
