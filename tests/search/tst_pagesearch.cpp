#include "search/asciicaselessmatcher.h"
#include "search/findhistory.h"
#include "search/pagesearch.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

namespace {

// Pages are written as "line|line" (lines of one page) separated by "~"; a page whose
// description starts with "#" is locked.
struct Pages
{
    QStringList texts;
    QSet<int> locked;
};

Pages makePages(const QString &description)
{
    Pages pages;
    if (description.isEmpty())
        return pages;
    const QStringList parts = description.split(QLatin1Char('~'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString part = parts.at(i);
        if (part.startsWith(QLatin1Char('#'))) {
            pages.locked.insert(static_cast<int>(i));
            part.remove(0, 1);
        }
        pages.texts << PageSearch::pageText(part.split(QLatin1Char('|')));
    }
    return pages;
}

PageSearch::Result search(const Pages &pages, int current, int selStart, const QString &text)
{
    return PageSearch::searchPages(pages.texts, current, selStart, text,
                                   [&pages](int page) { return pages.locked.contains(page); });
}

QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        c = QChar(AsciiCaselessMatcher::toUpper(c.unicode()));
    return upper;
}

} // namespace

class TestPageSearch : public QObject
{
    Q_OBJECT

private slots:
    void pageTextEndsEveryLine();
    void search_data();
    void search();
    void overlappingOccurrencesInTurn();
    void notFoundMessage_data();
    void notFoundMessage();
    void matcherAgreesWithPlainSearch();
    void history_data();
    void history();
};

void TestPageSearch::pageTextEndsEveryLine()
{
    QCOMPARE(PageSearch::pageText({QStringLiteral("ab"), QStringLiteral("cd")}),
             QStringLiteral("ab\r\ncd\r\n"));
    QCOMPARE(PageSearch::pageText({}), QString());
}

void TestPageSearch::search_data()
{
    QTest::addColumn<QString>("pages");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("skipped");

    QTest::newRow("after the caret") << "foo bar foo" << 0 << 0 << "foo" << true << 0 << 8 << 0;
    QTest::newRow("occurrence at the caret is found last")
        << "xx foo" << 0 << 3 << "foo" << true << 0 << 3 << 0;
    QTest::newRow("other pages before the one at the caret")
        << "foo~foo" << 0 << 0 << "foo" << true << 1 << 0 << 0;
    QTest::newRow("three pages wrap from the last to the first")
        << "alpha~the target~gamma" << 2 << 0 << "target" << true << 1 << 4 << 0;
    QTest::newRow("earlier text on the start page after the other pages")
        << "one~two foo~foo three" << 2 << 5 << "foo" << true << 1 << 4 << 0;
    QTest::newRow("text before the caret found on the closing visit")
        << "foo x" << 0 << 3 << "foo" << true << 0 << 0 << 0;
    QTest::newRow("ASCII letters ignore case")
        << "a NOTE|Note" << 0 << 0 << "note" << true << 0 << 2 << 0;
    QTest::newRow("non-ASCII letter matches only itself")
        << QString::fromUtf8("café CAFÉ") << 0 << 0 << QString::fromUtf8("CAFé") << true << 0 << 0
        << 0;
    QTest::newRow("non-ASCII letter in another case is not found")
        << QString::fromUtf8("CAFÉ") << 0 << 0 << QString::fromUtf8("café") << false << -1 << 0
        << 0;
    QTest::newRow("line breaks count two") << "ab|cd" << 0 << 0 << "cd" << true << 0 << 4 << 0;
    QTest::newRow("selection start past the end")
        << "foo" << 0 << 50 << "foo" << true << 0 << 0 << 0;
    QTest::newRow("current page out of range starts at the first")
        << "x~foo" << -1 << 0 << "foo" << true << 1 << 0 << 0;
    QTest::newRow("current page past the last starts at the first")
        << "x~foo" << 2 << 0 << "foo" << true << 1 << 0 << 0;
    QTest::newRow("negative selection start counts as the beginning")
        << "foo bar foo" << 0 << -3 << "foo" << true << 0 << 8 << 0;
    QTest::newRow("smallest selection start counts as the beginning")
        << "foo bar foo" << 0 << INT_MIN << "foo" << true << 0 << 8 << 0;
    QTest::newRow("largest selection start searches the closing visit")
        << "x foo" << 0 << INT_MAX << "foo" << true << 0 << 2 << 0;
    QTest::newRow("locked page passed over and counted")
        << "a~#foo~b foo" << 0 << 0 << "foo" << true << 2 << 2 << 1;
    QTest::newRow("locked pages counted when not found")
        << "a~#foo~b~#c" << 0 << 0 << "foo" << false << -1 << 0 << 2;
    QTest::newRow("locked start page counted once")
        << "#foo~b~#c" << 0 << 0 << "foo" << false << -1 << 0 << 2;
    QTest::newRow("single locked page") << "#foo" << 0 << 0 << "foo" << false << -1 << 0 << 1;
    QTest::newRow("no pages") << "" << -1 << 0 << "foo" << false << -1 << 0 << 0;
    QTest::newRow("empty search text") << "foo" << 0 << 0 << "" << false << -1 << 0 << 0;
}

void TestPageSearch::search()
{
    QFETCH(QString, pages);
    QFETCH(int, current);
    QFETCH(int, selStart);
    QFETCH(QString, text);

    const PageSearch::Result result = ::search(makePages(pages), current, selStart, text);

    QTEST(result.found, "found");
    QTEST(result.page, "page");
    QTEST(result.lockedSkipped, "skipped");
    if (result.found) {
        QTEST(result.selStart, "offset");
        QCOMPARE(result.selLength, text.size());
    }
}

void TestPageSearch::overlappingOccurrencesInTurn()
{
    const Pages pages = makePages(QStringLiteral("aaaa"));
    int selStart = 0;
    QList<int> offsets;
    for (int i = 0; i < 5; ++i) {
        const PageSearch::Result result = ::search(pages, 0, selStart, QStringLiteral("aa"));
        QVERIFY(result.found);
        offsets << result.selStart;
        selStart = result.selStart;
    }
    QCOMPARE(offsets, (QList<int>{1, 2, 0, 1, 2}));
}

void TestPageSearch::notFoundMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("message");

    QTest::newRow("no locked pages") << "Foo" << 0 << "Foo not found";
    QTest::newRow("locked pages") << "Foo" << 2 << "Foo not found\r2 Protected Pages not searched";
}

void TestPageSearch::notFoundMessage()
{
    QFETCH(QString, text);
    QFETCH(int, skipped);
    QTEST(PageSearch::notFoundMessage(text, skipped), "message");
}

void TestPageSearch::matcherAgreesWithPlainSearch()
{
    // Characters chosen so that letters, their other case, non-ASCII letters and characters
    // whose low byte equals a letter's (U+0141 and 'A') all meet.
    const QString alphabet = QString::fromUtf8("aAbBéÉ\u0141\u0161 \r\n");
    QRandomGenerator random(20240611);
    auto randomText = [&](int maxLength) {
        QString text;
        const int length = static_cast<int>(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString haystack = randomText(40);
        const QString needle = randomText(5);
        const qsizetype expected =
            needle.isEmpty() ? -1 : asciiUpper(haystack).indexOf(asciiUpper(needle));
        const qsizetype actual = AsciiCaselessMatcher(needle).indexIn(haystack);
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("needle \"%1\" in \"%2\": %3, expected %4")
                                 .arg(needle, haystack)
                                 .arg(actual)
                                 .arg(expected)));
    }
}

void TestPageSearch::history_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("most recent first") << QStringList{"one", "two"} << QStringList{"two", "one"};
    QTest::newRow("same text in another case keeps the new spelling")
        << QStringList{"foo", "bar", "Foo"} << QStringList{"Foo", "bar"};
    QTest::newRow("empty text ignored") << QStringList{"one", ""} << QStringList{"one"};

    QStringList sixteen;
    QStringList fifteenNewest;
    for (int i = 1; i <= 16; ++i) {
        sixteen << QString::number(i);
        if (i > 1)
            fifteenNewest.prepend(QString::number(i));
    }
    QTest::newRow("sixteenth entry drops the oldest") << sixteen << fifteenNewest;
}

void TestPageSearch::history()
{
    QFETCH(QStringList, added);
    FindHistory history;
    for (const QString &text : added)
        history.add(text);
    QTEST(history.entries(), "entries");
}

QTEST_GUILESS_MAIN(TestPageSearch)
#include "tst_pagesearch.moc"
