#include "highlighter/keywordlist.h"
#include "highlighter/notestokenizer.h"

#include <QTest>

namespace {
QString kindName(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Comment:
        return QStringLiteral("Comment");
    case TokenKind::Identifier:
        return QStringLiteral("Identifier");
    case TokenKind::Key:
        return QStringLiteral("Key");
    case TokenKind::Null:
        return QStringLiteral("Null");
    case TokenKind::Number:
        return QStringLiteral("Number");
    case TokenKind::Preprocessor:
        return QStringLiteral("Preprocessor");
    case TokenKind::Space:
        return QStringLiteral("Space");
    case TokenKind::String:
        return QStringLiteral("String");
    case TokenKind::Symbol:
        return QStringLiteral("Symbol");
    case TokenKind::Other:
        return QStringLiteral("Other");
    }
    return QString();
}

// The tokens of a line as "Kind:text", up to and without the Null token.
QStringList tokensOf(NotesTokenizer &tokenizer, const QString &line)
{
    QStringList tokens;
    int expectedStart = 0;
    for (tokenizer.setLine(line); !tokenizer.atEndOfLine(); tokenizer.next()) {
        if (tokenizer.tokenStart() != expectedStart || tokenizer.tokenLength() <= 0)
            return {QStringLiteral("gap or empty token at %1").arg(tokenizer.tokenStart())};
        expectedStart += tokenizer.tokenLength();
        tokens.append(kindName(tokenizer.tokenKind()) + u':' + tokenizer.tokenText());
    }
    if (expectedStart != line.size())
        tokens.append(QStringLiteral("line not covered"));
    return tokens;
}

KeywordList defaultKeywords()
{
    KeywordList keywords;
    keywords.setKeyWords({"HTTP", "PASSWORD", "PW", "PWD", "UN", "USER", "USERNAME", "WWW"});
    return keywords;
}
} // namespace

class TestNotesTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void kindsKeepTheirOrder();
    void tokens_data();
    void tokens();
    void endOfLineStaysAtNull();
    void settingALineStartsAgain();
    void entriesThatAreNoWordsNeverMatch();
};

void TestNotesTokenizer::kindsKeepTheirOrder()
{
    QCOMPARE(int(TokenKind::Comment), 0);
    QCOMPARE(int(TokenKind::Identifier), 1);
    QCOMPARE(int(TokenKind::Key), 2);
    QCOMPARE(int(TokenKind::Null), 3);
    QCOMPARE(int(TokenKind::Number), 4);
    QCOMPARE(int(TokenKind::Preprocessor), 5);
    QCOMPARE(int(TokenKind::Space), 6);
    QCOMPARE(int(TokenKind::String), 7);
    QCOMPARE(int(TokenKind::Symbol), 8);
    QCOMPARE(int(TokenKind::Other), 9);
}

void TestNotesTokenizer::tokens_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("tokens");

    QTest::newRow("empty line") << QString() << QStringList();
    QTest::newRow("password and number")
        << "Password: 1234" << QStringList{"Key:Password", "Other::", "Space: ", "Number:1234"};
    QTest::newRow("lower-case keyword") << "pw" << QStringList{"Key:pw"};
    QTest::newRow("mixed-case keyword") << "Pw" << QStringList{"Key:Pw"};
    QTest::newRow("upper-case keyword") << "PW" << QStringList{"Key:PW"};
    QTest::newRow("underscore continues a word")
        << "user_name" << QStringList{"Identifier:user_name"};
    QTest::newRow("digit continues a word") << "user1" << QStringList{"Identifier:user1"};
    QTest::newRow("keyword with digit is no keyword") << "PW2" << QStringList{"Identifier:PW2"};
    QTest::newRow("number before keyword") << "1user" << QStringList{"Number:1", "Key:user"};
    QTest::newRow("dot ends a word")
        << "user.name" << QStringList{"Key:user", "Other:.", "Identifier:name"};
    QTest::newRow("word starting with underscore") << "_pw" << QStringList{"Identifier:_pw"};
    QTest::newRow("letter above 127 ends a keyword") << "PWé" << QStringList{"Key:PW", "Other:é"};
    QTest::newRow("letter above 255 ends a keyword") << "pwд" << QStringList{"Key:pw", "Other:д"};
    QTest::newRow("placeholder") << "Password Protected Data "
                                 << QStringList{
                                        "Key:Password", "Space: ",         "Identifier:Protected",
                                        "Space: ",      "Identifier:Data", "Space: "};

    QTest::newRow("character code") << "#42" << QStringList{"String:#42"};
    QTest::newRow("lone hash") << "#" << QStringList{"String:#"};
    QTest::newRow("hash takes decimal digits only")
        << "#4F" << QStringList{"String:#4", "Identifier:F"};
    QTest::newRow("hexadecimal number") << "$FF" << QStringList{"Number:$FF"};
    QTest::newRow("lone dollar") << "$" << QStringList{"Number:$"};
    QTest::newRow("dollar takes hexadecimal digits only")
        << "$fG" << QStringList{"Number:$f", "Identifier:G"};

    QTest::newRow("range") << "1..5" << QStringList{"Number:1", "Other:.", "Other:.", "Number:5"};
    QTest::newRow("C hexadecimal") << "0x1F" << QStringList{"Number:0x1F"};
    QTest::newRow("exponent") << "1.5e3" << QStringList{"Number:1.5e3"};
    QTest::newRow("capital exponent") << "1E5" << QStringList{"Number:1E5"};
    QTest::newRow("a sign ends the number after a capital exponent")
        << "2.5E-3" << QStringList{"Number:2.5E", "Other:-", "Number:3"};
    QTest::newRow("address") << "10.0.0.1" << QStringList{"Number:10.0.0.1"};
    QTest::newRow("many e") << "12eee" << QStringList{"Number:12eee"};
    QTest::newRow("ordinal") << "2nd" << QStringList{"Number:2", "Identifier:nd"};
    QTest::newRow("e then other letter") << "5eX" << QStringList{"Number:5e", "Identifier:X"};
    QTest::newRow("capital X ends a number") << "0X1F" << QStringList{"Number:0", "Identifier:X1F"};
    QTest::newRow("x ends the number after hex digits")
        << "0xfg" << QStringList{"Number:0xf", "Identifier:g"};
    QTest::newRow("second x is a word") << "7xx" << QStringList{"Number:7x", "Identifier:x"};
    QTest::newRow("trailing dot") << "1." << QStringList{"Number:1."};
    QTest::newRow("dot then range")
        << "1.2..3" << QStringList{"Number:1.2", "Other:.", "Other:.", "Number:3"};

    QTest::newRow("apostrophe runs to the end")
        << "don't use pw 99" << QStringList{"Identifier:don", "String:'t use pw 99"};
    QTest::newRow("closed string")
        << "'abc' pw" << QStringList{"String:'abc'", "Space: ", "Key:pw"};
    QTest::newRow("empty string") << "''" << QStringList{"String:''"};
    QTest::newRow("two apostrophes after the opening one are passed over")
        << "'''abc' x" << QStringList{"String:'''abc'", "Space: ", "Identifier:x"};
    QTest::newRow("four apostrophes") << "''''" << QStringList{"String:''''"};
    QTest::newRow("three apostrophes run to the end") << "'''" << QStringList{"String:'''"};
    QTest::newRow("unclosed string") << "'ab" << QStringList{"String:'ab"};
    QTest::newRow("string stops at a line feed")
        << "'a\nb'" << QStringList{"String:'a", "Space:\n", "Identifier:b", "String:'"};

    QTest::newRow("CR LF is one token")
        << "a\r\nb" << QStringList{"Identifier:a", "Space:\r\n", "Identifier:b"};
    QTest::newRow("lone CR") << "a\rb" << QStringList{"Identifier:a", "Space:\r", "Identifier:b"};
    QTest::newRow("LF CR are two tokens") << "\n\r" << QStringList{"Space:\n", "Space:\r"};
    QTest::newRow("tab belongs to the blanks")
        << "a \t b" << QStringList{"Identifier:a", "Space: \t ", "Identifier:b"};
    QTest::newRow("control characters are blanks") << QStringLiteral("\x01\x1f"
                                                                     "a")
                                                   << QStringList{"Space:\x01\x1f", "Identifier:a"};
    QTest::newRow("NUL inside the line is a control character")
        << QString::fromUtf16(u"a\0b", 3)
        << QStringList{"Identifier:a", QString::fromUtf16(u"Space:\0", 7), "Identifier:b"};

    QTest::newRow("quotation marks are other")
        << "\"pw\"" << QStringList{"Other:\"", "Key:pw", "Other:\""};
    QTest::newRow("symbols") << "({/;"
                             << QStringList{"Symbol:(", "Symbol:{", "Symbol:/", "Symbol:;"};
    QTest::newRow("closing brackets are other") << ")}" << QStringList{"Other:)", "Other:}"};
    QTest::newRow("punctuation is other")
        << "!%&*+,-:<=>?@[\\]^`|~"
        << QStringList{"Other:!",  "Other:%", "Other:&", "Other:*", "Other:+", "Other:,", "Other:-",
                       "Other::",  "Other:<", "Other:=", "Other:>", "Other:?", "Other:@", "Other:[",
                       "Other:\\", "Other:]", "Other:^", "Other:`", "Other:|", "Other:~"};
    QTest::newRow("delete character") << "\x7f" << QStringList{"Other:\x7f"};
    QTest::newRow("character above 255") << "€5" << QStringList{"Other:€", "Number:5"};
    QTest::newRow("surrogate pair is one character")
        << "😀x" << QStringList{"Other:😀", "Identifier:x"};
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) + u'x'
        << QStringList{"Other:" + QString(QChar(0xD800)), "Identifier:x"};
}

void TestNotesTokenizer::tokens()
{
    QFETCH(QString, line);
    QFETCH(QStringList, tokens);
    const KeywordList keywords = defaultKeywords();
    NotesTokenizer tokenizer(keywords);
    QCOMPARE(tokensOf(tokenizer, line), tokens);
}

void TestNotesTokenizer::endOfLineStaysAtNull()
{
    const KeywordList keywords = defaultKeywords();
    NotesTokenizer tokenizer(keywords);
    tokenizer.setLine(QString());
    QVERIFY(tokenizer.atEndOfLine());
    QCOMPARE(tokenizer.tokenKind(), TokenKind::Null);
    QCOMPARE(tokenizer.tokenStart(), 0);
    QCOMPARE(tokenizer.tokenText(), QString());

    tokenizer.setLine(QStringLiteral("ab"));
    tokenizer.next();
    tokenizer.next();
    QCOMPARE(tokenizer.tokenKind(), TokenKind::Null);
    QCOMPARE(tokenizer.tokenStart(), 2);
    QCOMPARE(tokenizer.tokenLength(), 0);
}

void TestNotesTokenizer::settingALineStartsAgain()
{
    const KeywordList keywords = defaultKeywords();
    NotesTokenizer tokenizer(keywords);
    tokenizer.setLine(QStringLiteral("'unclosed string"));
    tokenizer.setLine(QStringLiteral("pw 1"));
    QCOMPARE(tokenizer.tokenStart(), 0);
    QCOMPARE(tokenizer.tokenKind(), TokenKind::Key);
    QCOMPARE(tokenizer.tokenText(), QStringLiteral("pw"));
}

void TestNotesTokenizer::entriesThatAreNoWordsNeverMatch()
{
    KeywordList keywords;
    keywords.setEntries({"my-key", "1abc", "two words", "clé", "ok_1"});
    NotesTokenizer tokenizer(keywords);
    QCOMPARE(
        tokensOf(tokenizer, QStringLiteral("my-key 1abc two words clé OK_1")),
        (QStringList{"Identifier:my", "Other:-", "Identifier:key", "Space: ", "Number:1",
                     "Identifier:abc", "Space: ", "Identifier:two", "Space: ", "Identifier:words",
                     "Space: ", "Identifier:cl", "Other:é", "Space: ", "Key:OK_1"}));
}

QTEST_APPLESS_MAIN(TestNotesTokenizer)
#include "tst_notestokenizer.moc"
