#include "editor/copyword.h"

#include <QTest>

Q_DECLARE_METATYPE(WordRange)

namespace QTest {
template <> char *toString(const WordRange &range)
{
    return qstrdup(QByteArray::number(range.start) + '+' + QByteArray::number(range.length));
}
} // namespace QTest

class TestCopyWord : public QObject
{
    Q_OBJECT

private slots:
    void copyWordRange_data();
    void copyWordRange();
};

void TestCopyWord::copyWordRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<WordRange>("range");

    const QString sample = QStringLiteral("alpha beta.gamma delta");
    QTest::newRow("gamma copies beta.gamma") << sample << 11 << WordRange{6, 10};
    QTest::newRow("delta runs to the very end") << sample << 17 << WordRange{17, 5};
    QTest::newRow("inside delta") << sample << 20 << WordRange{17, 5};
    QTest::newRow("first word") << sample << 0 << WordRange{0, 5};
    QTest::newRow("caret right after a word takes that word") << sample << 5 << WordRange{0, 5};
    QTest::newRow("line without blank is copied whole")
        << "https://user:pw@example.org/a?b=c" << 9 << WordRange{0, 33};
    QTest::newRow("tabs belong to the word") << "pw\tsecret more" << 3 << WordRange{0, 9};
    QTest::newRow("a word on the second line stops at the line break")
        << "first line\r\nsecond\r\nthird" << 14 << WordRange{12, 6};
    QTest::newRow("caret at the end of a line")
        << "first line\r\nsecond\r\nthird" << 18 << WordRange{12, 6};
    QTest::newRow("last line") << "first line\r\nsecond\r\nthird" << 20 << WordRange{20, 5};
    QTest::newRow("lone LF separates") << "one\ntwo" << 5 << WordRange{4, 3};
    QTest::newRow("between two blanks nothing is taken") << "a  b" << 2 << WordRange{2, 0};
    QTest::newRow("empty text") << QString() << 0 << WordRange{0, 0};
    QTest::newRow("start beyond the text is clamped") << "abc" << 10 << WordRange{0, 3};
    QTest::newRow("negative start is clamped") << "abc def" << -4 << WordRange{0, 3};
    QTest::newRow("start beyond a text ending in a blank takes nothing")
        << "abc " << 10 << WordRange{4, 0};
    QTest::newRow("largest start is clamped to the end") << "ab cd" << INT_MAX << WordRange{3, 2};
    QTest::newRow("negative start before a leading blank takes nothing")
        << " abc" << -4 << WordRange{0, 0};
    QTest::newRow("smallest start is clamped to the beginning")
        << "abc def" << INT_MIN << WordRange{0, 3};
    QTest::newRow("punctuation belongs to the word") << "(p@ss!) x" << 2 << WordRange{0, 7};
}

void TestCopyWord::copyWordRange()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(WordRange, range);
    QCOMPARE(::copyWordRange(text, selStart), range);
}

QTEST_APPLESS_MAIN(TestCopyWord)
#include "tst_copyword.moc"
