#include "highlighter/keywordlist.h"

#include <QTest>

class TestKeywordList : public QObject
{
    Q_OBJECT

private slots:
    void setKeyWordsUpperCasesAsciiOnly();
    void entriesKeepSpellingAndSortIgnoringCase();
    void duplicatesIgnoringCaseAreDropped_data();
    void duplicatesIgnoringCaseAreDropped();
    void lookupIgnoresCase_data();
    void lookupIgnoresCase();
    void everyEntryOfALongListIsFound();
    void emptyListHasNoKeyword();
};

void TestKeywordList::setKeyWordsUpperCasesAsciiOnly()
{
    KeywordList keywords;
    keywords.setKeyWords({"www", "pwé", "Straße", "user_1"});
    QCOMPARE(keywords.entries(), (QStringList{"PWé", "STRAßE", "USER_1", "WWW"}));
}

void TestKeywordList::entriesKeepSpellingAndSortIgnoringCase()
{
    KeywordList keywords;
    keywords.setKeyWords({"OLD"});
    keywords.setEntries({"Zeta", "alpha", "Beta", "pwd"});
    QCOMPARE(keywords.entries(), (QStringList{"alpha", "Beta", "pwd", "Zeta"}));
    QVERIFY(!keywords.isKeyword(QStringLiteral("old")));
}

void TestKeywordList::duplicatesIgnoringCaseAreDropped_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("pwd after PWD") << QStringList{"PWD", "pwd"} << QStringList{"PWD"};
    QTest::newRow("first spelling wins") << QStringList{"Pw", "PW", "pw"} << QStringList{"Pw"};
    QTest::newRow("exact duplicate")
        << QStringList{"UN", "UN", "USER"} << QStringList{"UN", "USER"};
}

void TestKeywordList::duplicatesIgnoringCaseAreDropped()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, kept);
    KeywordList keywords;
    keywords.setEntries(given);
    QCOMPARE(keywords.entries(), kept);
    QVERIFY(!keywords.add(given.first().toLower()));
    QCOMPARE(keywords.entries(), kept);
}

void TestKeywordList::lookupIgnoresCase_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("keyword");

    QTest::newRow("upper") << "PASSWORD" << true;
    QTest::newRow("lower") << "password" << true;
    QTest::newRow("mixed") << "PassWord" << true;
    QTest::newRow("entry in lower case matches") << "Http" << true;
    QTest::newRow("prefix of an entry") << "PASS" << false;
    QTest::newRow("entry is a prefix") << "USERNAMES" << false;
    QTest::newRow("before the first entry") << "A" << false;
    QTest::newRow("after the last entry") << "ZZZ" << false;
    QTest::newRow("empty word") << "" << false;
}

void TestKeywordList::lookupIgnoresCase()
{
    QFETCH(QString, word);
    QFETCH(bool, keyword);
    KeywordList keywords;
    keywords.setEntries({"http", "PASSWORD", "PW", "PWD", "UN", "USER", "USERNAME", "WWW"});
    QCOMPARE(keywords.isKeyword(word), keyword);
}

void TestKeywordList::everyEntryOfALongListIsFound()
{
    QStringList words;
    for (int i = 0; i < 200; ++i)
        words.append(QStringLiteral("k%1_%2").arg(i * 7919 % 1000).arg(QChar(u'a' + i % 26)));
    KeywordList keywords;
    keywords.setEntries(words);
    for (const QString &word : words) {
        QVERIFY2(keywords.isKeyword(word.toUpper()), qPrintable(word));
        QVERIFY2(!keywords.isKeyword(word + u'x'), qPrintable(word));
    }
}

void TestKeywordList::emptyListHasNoKeyword()
{
    KeywordList keywords;
    QVERIFY(!keywords.isKeyword(QStringLiteral("PW")));
    keywords.setKeyWords({"PW"});
    keywords.clear();
    QVERIFY(keywords.entries().isEmpty());
    QVERIFY(!keywords.isKeyword(QStringLiteral("PW")));
}

QTEST_APPLESS_MAIN(TestKeywordList)
#include "tst_keywordlist.moc"
