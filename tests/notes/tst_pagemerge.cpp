#include "notes/pagemerge.h"

#include <QTest>

namespace {

// A page written "name=line|line"; a leading "*" marks it protected.
StoredPage page(const QString &text)
{
    const qsizetype equals = text.indexOf(u'=');
    StoredPage stored;
    stored.name = text.left(equals);
    stored.record.isProtected = stored.name.startsWith(u'*');
    if (stored.record.isProtected)
        stored.name.remove(0, 1);
    const QString lines = text.mid(equals + 1);
    if (!lines.isEmpty())
        stored.record.lines = lines.split(u'|');
    return stored;
}

QList<StoredPage> pages(const QStringList &texts)
{
    QList<StoredPage> result;
    for (const QString &text : texts)
        result.append(page(text));
    return result;
}

QStringList texts(const QList<StoredPage> &pages)
{
    QStringList result;
    for (const StoredPage &stored : pages) {
        result.append((stored.record.isProtected ? QStringLiteral("*") : QString()) + stored.name +
                      u'=' + stored.record.lines.join(u'|'));
    }
    return result;
}

// The pages with their texts held outside their records, as a window gives the pages it
// shows: lines made when asked for, and a stamp.
QList<StoredPage> heldElsewhere(QList<StoredPage> pages)
{
    std::uint64_t stamp = 0;
    for (StoredPage &page : pages) {
        page.textLines = [lines = page.record.lines] { return lines; };
        page.record.lines.clear();
        page.textStamp = ++stamp;
    }
    return pages;
}

} // namespace

class PageMergeTest : public QObject
{
    Q_OBJECT

private slots:
    void merge_data();
    void merge();
    void mergeOfTextsHeldElsewhere_data() { merge_data(); }
    void mergeOfTextsHeldElsewhere();
    void positionsGoWithTheirText();
    void storedText_data();
    void storedText();
};

void PageMergeTest::merge_data()
{
    QTest::addColumn<QStringList>("base");
    QTest::addColumn<QStringList>("mine");
    QTest::addColumn<QStringList>("theirs");
    QTest::addColumn<QStringList>("merged");
    QTest::addColumn<QList<int>>("mineIndex");
    QTest::addColumn<QStringList>("conflicts");

    const QStringList none;
    const QString elsewhere = QStringLiteral(" (changed elsewhere)");
    QTest::newRow("different pages edited")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a|mine", "B=b"}
        << QStringList{"A=a", "B=b|theirs"} << QStringList{"A=a|mine", "B=b|theirs"}
        << QList<int>{0, 1} << none;
    QTest::newRow("same page edited by both: both texts kept")
        << QStringList{"A=a", "B=b"} << QStringList{"A=mine", "B=b"}
        << QStringList{"A=theirs", "B=b"}
        << QStringList{"A=mine", "A" + elsewhere + "=theirs", "B=b"} << QList<int>{0, -1, 1}
        << QStringList{"A" + elsewhere};
    QTest::newRow("same page edited alike by both")
        << QStringList{"A=a"} << QStringList{"A=same"} << QStringList{"A=same"}
        << QStringList{"A=same"} << QList<int>{0} << none;
    QTest::newRow("trailing blanks of mine are no edit")
        << QStringList{"A=a"} << QStringList{"A=a  "} << QStringList{"A=theirs"}
        << QStringList{"A=theirs"} << QList<int>{0} << none;
    QTest::newRow("page added elsewhere while this copy edits")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a|mine", "B=b"}
        << QStringList{"A=a", "N=new", "B=b"} << QStringList{"A=a|mine", "N=new", "B=b"}
        << QList<int>{0, -1, 1} << none;
    QTest::newRow("unedited page deleted elsewhere")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a", "B=b|mine"} << QStringList{"B=b"}
        << QStringList{"B=b|mine"} << QList<int>{1} << none;
    QTest::newRow("edited page deleted elsewhere is kept")
        << QStringList{"A=a", "B=b", "C=c"} << QStringList{"A=a", "B=b|mine", "C=c"}
        << QStringList{"A=a", "C=c"} << QStringList{"A=a", "B=b|mine", "C=c"} << QList<int>{0, 1, 2}
        << none;
    QTest::newRow("first page edited and deleted elsewhere is kept")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a|mine", "B=b"} << QStringList{"B=b"}
        << QStringList{"A=a|mine", "B=b"} << QList<int>{0, 1} << none;
    QTest::newRow("page renamed elsewhere takes the edit")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a|mine", "B=b"} << QStringList{"X=a", "B=b"}
        << QStringList{"X=a|mine", "B=b"} << QList<int>{0, 1} << none;
    QTest::newRow("pages moved elsewhere")
        << QStringList{"A=a", "B=b", "C=c"} << QStringList{"A=a", "B=b|mine", "C=c"}
        << QStringList{"C=c", "A=a", "B=b"} << QStringList{"C=c", "A=a", "B=b|mine"}
        << QList<int>{2, 0, 1} << none;
    QTest::newRow("page moved and edited elsewhere, edited here: both kept")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a", "B=mine"}
        << QStringList{"B=theirs", "A=a"}
        << QStringList{"B=mine", "B" + elsewhere + "=theirs", "A=a"} << QList<int>{1, -1, 0}
        << QStringList{"B" + elsewhere};
    QTest::newRow("page added here, page edited elsewhere")
        << QStringList{"A=a"} << QStringList{"A=a", "M=mine"} << QStringList{"A=theirs"}
        << QStringList{"A=theirs", "M=mine"} << QList<int>{0, 1} << none;
    QTest::newRow("page deleted here, edited elsewhere: kept")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a"} << QStringList{"A=a", "B=theirs"}
        << QStringList{"A=a", "B=theirs"} << QList<int>{0, -1} << none;
    QTest::newRow("page deleted here, unedited elsewhere: gone")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a"} << QStringList{"A=theirs", "B=b"}
        << QStringList{"A=theirs"} << QList<int>{0} << none;
    QTest::newRow("pages added on both sides")
        << QStringList{"A=a", "B=b"} << QStringList{"A=a", "M=m", "B=b"}
        << QStringList{"A=a", "B=b", "T=t"} << QStringList{"A=a", "M=m", "B=b", "T=t"}
        << QList<int>{0, 1, 2, -1} << none;
    QTest::newRow("same page added by both from no file")
        << none << QStringList{"ToDo=mine", "General="} << QStringList{"ToDo=", "General=theirs"}
        << QStringList{"ToDo=mine", "General=theirs"} << QList<int>{0, 1} << none;
    QTest::newRow("pages of one name told apart by their order")
        << QStringList{"A=1", "A=2"} << QStringList{"A=1", "A=2|mine"}
        << QStringList{"A=1|theirs", "A=2"} << QStringList{"A=1|theirs", "A=2|mine"}
        << QList<int>{0, 1} << none;
    QTest::newRow("protected elsewhere while edited here")
        << QStringList{"A=a"} << QStringList{"A=mine"} << QStringList{"*A=a"}
        << QStringList{"*A=mine"} << QList<int>{0} << none;
    QTest::newRow("page kept for the other text is protected when either was")
        << QStringList{"*A=a"} << QStringList{"*A=mine"} << QStringList{"*A=theirs"}
        << QStringList{"*A=mine", "*A" + elsewhere + "=theirs"} << QList<int>{0, -1}
        << QStringList{"A" + elsewhere};
}

void PageMergeTest::merge()
{
    QFETCH(QStringList, base);
    QFETCH(QStringList, mine);
    QFETCH(QStringList, theirs);
    QFETCH(QStringList, merged);
    QFETCH(QList<int>, mineIndex);
    QFETCH(QStringList, conflicts);

    const PageMerge::Result result = PageMerge::merge(pages(base), pages(mine), pages(theirs));
    QCOMPARE(texts(result.pages), merged);
    QCOMPARE(result.mineIndex, mineIndex);
    QCOMPARE(result.conflictPages, conflicts);
}

// The same merge, with base and mine holding their texts outside their records: the result holds
// every text in its record, known by its lines alone.
void PageMergeTest::mergeOfTextsHeldElsewhere()
{
    QFETCH(QStringList, base);
    QFETCH(QStringList, mine);
    QFETCH(QStringList, theirs);
    QFETCH(QStringList, merged);
    QFETCH(QList<int>, mineIndex);

    const PageMerge::Result result = PageMerge::merge(heldElsewhere(pages(base)),
                                                      heldElsewhere(pages(mine)), pages(theirs));
    QCOMPARE(texts(result.pages), merged);
    QCOMPARE(result.mineIndex, mineIndex);
    for (const StoredPage &page : result.pages) {
        QVERIFY(!page.textLines);
        QCOMPARE(page.textStamp, std::uint64_t(0));
    }
}

// The caret and scroll position of a page are those of the text it shows.
void PageMergeTest::positionsGoWithTheirText()
{
    QList<StoredPage> base = pages({"A=a", "B=b"});
    QList<StoredPage> mine = pages({"A=a|mine", "B=b"});
    QList<StoredPage> theirs = pages({"A=a", "B=b|theirs"});
    mine[0].record.caretY = 2;
    mine[1].record.caretY = 7; // moved here, text unchanged
    theirs[0].record.caretY = 9;
    theirs[1].record.caretY = 3;
    theirs[1].record.topLine = 2;
    const PageMerge::Result result = PageMerge::merge(base, mine, theirs);
    QCOMPARE(result.pages[0].record.caretY, 2);
    QCOMPARE(result.pages[1].record.caretY, 3);
    QCOMPARE(result.pages[1].record.topLine, 2);
}

void PageMergeTest::storedText_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("stored");
    QTest::newRow("no lines") << QStringList() << QString();
    QTest::newRow("one empty line") << QStringList{QString()} << QString();
    QTest::newRow("trailing blanks and tabs go, leading stay")
        << QStringList{"  a \t", "b"} << QStringLiteral("  a\nb");
    QTest::newRow("breaks inside a line split it")
        << QStringList{"a\r\nb  \rc"} << QStringLiteral("a\nb\nc");
}

void PageMergeTest::storedText()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, stored);
    QCOMPARE(PageMerge::storedText(lines), stored);
}

QTEST_GUILESS_MAIN(PageMergeTest)
#include "tst_pagemerge.moc"
