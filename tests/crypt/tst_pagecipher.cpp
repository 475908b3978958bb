#include "crypt/pagecipher.h"

#include <QTest>
#include <functional>

namespace {

// The cheapest limits libsodium takes, so that the tests derive keys quickly.
const PageCipher::Params fastParams{1, 8192};

CryptKey keyOf(const QString &password, char saltByte = 's')
{
    return PageCipher::deriveKey(password, QByteArray(16, saltByte), fastParams);
}

QStringList manyLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("line %1: user=someone pw=Secret%1 äöü €").arg(i));
    return lines;
}

// A text whose sealed form has several full lines after the header and a short last one.
const QStringList sampleText = {
    QStringLiteral("Bank: 1234 5678"), QStringLiteral("PIN 0000"),
    QStringLiteral("The quick brown fox jumps over the lazy dog, twice over, and then once more "
                   "for good measure.")};

bool isPageLine(const QString &line)
{
    if (line.isEmpty() || line.front() == u' ' || line.back() == u' ')
        return false;
    return std::all_of(line.begin(), line.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

using Damage = std::function<void(QStringList &)>;

QString otherBase64Character(QChar c)
{
    return c == u'A' ? QStringLiteral("B") : QStringLiteral("A");
}

} // namespace

Q_DECLARE_METATYPE(PageCipher::Params)
Q_DECLARE_METATYPE(Damage)

class PageCipherTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void oneEmptyLineOpensAsNoLines();
    void loneSurrogateStaysOnItsLine();
    void twoSealsOfOneTextDiffer();
    void otherKeysOpenNothing_data();
    void otherKeysOpenNothing();
    void damageOpensNothing_data();
    void damageOpensNothing();
    void everyChangedCharacterOpensNothing();
    void checkValue();
    void checkValueRejects_data();
    void checkValueRejects();
    void sealedPageIsNoCheckValue();
    void paramsRoundTrip();
    void paramsFromTextRejects_data();
    void paramsFromTextRejects();
    void deriveKeyRefuses_data();
    void deriveKeyRefuses();
    void defaultParamsDerive();
    void newSaltsAreRandom();
    void ordinaryPagesAreNotSealed_data();
    void ordinaryPagesAreNotSealed();
    void wipeLeavesSharedCopies();
};

void PageCipherTest::initTestCase()
{
    QVERIFY(PageCipher::initialize());
}

void PageCipherTest::roundTrip_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty page") << QStringList();
    QTest::newRow("one line") << QStringList{QStringLiteral("hello")};
    QTest::newRow("empty lines between and after")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()};
    QTest::newRow("leading blank line") << QStringList{QString(), QStringLiteral("x")};
    QTest::newRow("non-ASCII") << QStringList{QStringLiteral("Grüße, Ærø"),
                                              QStringLiteral("日本語のメモ"),
                                              QStringLiteral("emoji 🙂🔑")};
    QTest::newRow("lone CR inside a line")
        << QStringList{QStringLiteral("before\rafter"), QStringLiteral("next")};
    QTest::newRow("CR at a line's end, LF at the next one's start")
        << QStringList{QStringLiteral("ends with CR\r"), QStringLiteral("\nstarts with LF")};
    QTest::newRow("blanks and tabs at both ends") << QStringList{
        QStringLiteral("  indented"), QStringLiteral("\ttab\t"), QStringLiteral("trailing  ")};
    QTest::newRow("2,000 lines") << manyLines(2000);
}

void PageCipherTest::roundTrip()
{
    QFETCH(QStringList, lines);
    const CryptKey key = keyOf(QStringLiteral("correct horse"));
    const QStringList sealed = PageCipher::seal(key, lines);
    QVERIFY(sealed.size() >= 2);
    QVERIFY(PageCipher::isSealed(sealed));
    for (const QString &line : sealed) {
        QVERIFY2(isPageLine(line), qPrintable(line));
        QVERIFY(line.size() <= 76 || line == sealed.first());
    }
    const auto opened = PageCipher::open(key, sealed);
    QVERIFY(opened);
    QCOMPARE(*opened, lines);
}

void PageCipherTest::oneEmptyLineOpensAsNoLines()
{
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const auto opened = PageCipher::open(key, PageCipher::seal(key, {QString()}));
    QVERIFY(opened);
    QCOMPARE(*opened, QStringList());
}

void PageCipherTest::loneSurrogateStaysOnItsLine()
{
    // Half a character cannot be kept as UTF-8; it becomes a replacement character, but on
    // its own line, and a lone half at the very end is not lost.
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const QString high(QChar(0xD83D));
    const auto opened = PageCipher::open(
        key, PageCipher::seal(key, {QStringLiteral("a") + high, QStringLiteral("b") + high}));
    QVERIFY(opened);
    QCOMPARE(*opened, (QStringList{QStringLiteral("a\uFFFD"), QStringLiteral("b\uFFFD")}));
}

void PageCipherTest::twoSealsOfOneTextDiffer()
{
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const QStringList first = PageCipher::seal(key, sampleText);
    const QStringList second = PageCipher::seal(key, sampleText);
    QCOMPARE(first.size(), second.size());
    QVERIFY(first.first() != second.first());
    for (qsizetype i = 1; i < first.size(); ++i)
        QVERIFY(first[i] != second[i]);
}

void PageCipherTest::otherKeysOpenNothing_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<char>("saltByte");
    QTest::newRow("other password") << QStringLiteral("Correct horse") << 's';
    QTest::newRow("other salt") << QStringLiteral("correct horse") << 't';
    QTest::newRow("no password") << QString() << 's';
}

void PageCipherTest::otherKeysOpenNothing()
{
    QFETCH(QString, password);
    QFETCH(char, saltByte);
    const CryptKey key = keyOf(QStringLiteral("correct horse"));
    const QStringList sealed = PageCipher::seal(key, sampleText);
    const CryptKey other = keyOf(password, saltByte);
    QVERIFY(other.isValid());
    QVERIFY(!PageCipher::open(other, sealed));
    QVERIFY(!PageCipher::open(CryptKey(), sealed));
    QVERIFY(PageCipher::open(keyOf(QStringLiteral("correct horse")), sealed));
}

void PageCipherTest::damageOpensNothing_data()
{
    QTest::addColumn<Damage>("damage");
    auto flip = [](int line, int column) {
        return Damage([line, column](QStringList &l) {
            const qsizetype at = column < 0 ? l[line].size() + column : column;
            l[line].replace(at, 1, otherBase64Character(l[line][at]));
        });
    };
    QTest::newRow("character of the first body line") << flip(1, 0);
    QTest::newRow("character of a middle body line") << flip(2, 40);
    QTest::newRow("character of the last body line") << flip(3, 0);
    QTest::newRow("character of the nonce") << flip(0, -5);
    QTest::newRow("first body line removed") << Damage([](QStringList &l) { l.removeAt(1); });
    QTest::newRow("middle body line removed") << Damage([](QStringList &l) { l.removeAt(2); });
    QTest::newRow("last line removed") << Damage([](QStringList &l) { l.removeLast(); });
    QTest::newRow("header removed") << Damage([](QStringList &l) { l.removeFirst(); });
    QTest::newRow("only the header left") << Damage([](QStringList &l) { l = l.mid(0, 1); });
    QTest::newRow("empty line added at the end")
        << Damage([](QStringList &l) { l.append(QString()); });
    QTest::newRow("empty line added after the header")
        << Damage([](QStringList &l) { l.insert(1, QString()); });
    QTest::newRow("body line repeated") << Damage([](QStringList &l) { l.insert(2, l[1]); });
    QTest::newRow("text line added")
        << Damage([](QStringList &l) { l.append(QStringLiteral("typed in by an older copy")); });
    QTest::newRow("body lines swapped") << Damage([](QStringList &l) { l.swapItemsAt(1, 2); });
    QTest::newRow("last line truncated") << Damage([](QStringList &l) { l.last().chop(1); });
    QTest::newRow("last line lost its padding") << Damage([](QStringList &l) {
        while (l.last().endsWith(u'='))
            l.last().chop(1);
    });
    QTest::newRow("body line split") << Damage([](QStringList &l) {
        const QString line = l[1];
        l[1] = line.left(30);
        l.insert(2, line.mid(30));
    });
    QTest::newRow("blank inside a body line")
        << Damage([](QStringList &l) { l[1].insert(10, u' '); });
    QTest::newRow("other format version") << Damage(
        [](QStringList &l) { l[0].replace(QStringLiteral(" 1 "), QStringLiteral(" 2 ")); });
    QTest::newRow("other tag") << Damage([](QStringList &l) {
        l[0].replace(QStringLiteral("ENCRYPTED"), QStringLiteral("ENCRYPTEB"));
    });
    QTest::newRow("nonce shortened") << Damage([](QStringList &l) { l[0].chop(4); });
    QTest::newRow("blank doubled in the header") << Damage(
        [](QStringList &l) { l[0].replace(QStringLiteral(" 1"), QStringLiteral("  1")); });
}

void PageCipherTest::damageOpensNothing()
{
    QFETCH(Damage, damage);
    const CryptKey key = keyOf(QStringLiteral("pw"));
    QStringList sealed = PageCipher::seal(key, sampleText);
    QCOMPARE(sealed.size(), 4); // the damages above assume a header and three body lines
    QVERIFY(PageCipher::open(key, sealed));
    damage(sealed);
    QVERIFY(!PageCipher::open(key, sealed));
}

void PageCipherTest::everyChangedCharacterOpensNothing()
{
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const QStringList sealed = PageCipher::seal(key, sampleText);
    for (qsizetype line = 0; line < sealed.size(); ++line) {
        for (qsizetype column = 0; column < sealed[line].size(); ++column) {
            QStringList damaged = sealed;
            const QChar c = damaged[line][column];
            damaged[line].replace(column, 1,
                                  c == u' ' ? QStringLiteral("_") : otherBase64Character(c));
            QVERIFY2(!PageCipher::open(key, damaged),
                     qPrintable(QStringLiteral("line %1 column %2").arg(line).arg(column)));
        }
    }
}

void PageCipherTest::checkValue()
{
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const QString check = PageCipher::makeCheck(key);
    QVERIFY(!check.isEmpty());
    QVERIFY(!check.contains(u'\r') && !check.contains(u'\n'));
    QVERIFY(isPageLine(check));
    QVERIFY(PageCipher::checkMatches(key, check));
    QVERIFY(PageCipher::checkMatches(keyOf(QStringLiteral("pw")), check));
    QVERIFY(check != PageCipher::makeCheck(key));
}

void PageCipherTest::checkValueRejects_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("changedAt"); // -1: unchanged
    QTest::newRow("wrong password") << QStringLiteral("PW") << -1;
    QTest::newRow("empty password") << QString() << -1;
    QTest::newRow("version changed") << QStringLiteral("pw") << 0;
    QTest::newRow("nonce changed") << QStringLiteral("pw") << 3;
    QTest::newRow("sealed text changed") << QStringLiteral("pw") << 50;
}

void PageCipherTest::checkValueRejects()
{
    QFETCH(QString, password);
    QFETCH(int, changedAt);
    const CryptKey key = keyOf(QStringLiteral("pw"));
    QString check = PageCipher::makeCheck(key);
    if (changedAt >= 0)
        check.replace(changedAt, 1, otherBase64Character(check[changedAt]));
    QVERIFY(!PageCipher::checkMatches(keyOf(password), check));
    QVERIFY(!PageCipher::checkMatches(CryptKey(), PageCipher::makeCheck(key)));
}

void PageCipherTest::sealedPageIsNoCheckValue()
{
    const CryptKey key = keyOf(QStringLiteral("pw"));
    const QStringList sealed = PageCipher::seal(key, {QStringLiteral("Quillbox password check")});
    const QString nonce = sealed[0].section(u' ', 2);
    QVERIFY(!PageCipher::checkMatches(key, QStringLiteral("1 ") + nonce + u' ' + sealed[1]));
    QVERIFY(!PageCipher::checkMatches(key, QString()));
    QVERIFY(!PageCipher::checkMatches(key, QStringLiteral("junk")));
}

void PageCipherTest::paramsRoundTrip()
{
    const PageCipher::Params params = PageCipher::defaultParams();
    const QString text = PageCipher::paramsText(params);
    QVERIFY(text.startsWith(QStringLiteral("argon2id,")));
    const auto read = PageCipher::paramsFromText(text);
    QVERIFY(read);
    QCOMPARE(read->opsLimit, params.opsLimit);
    QCOMPARE(read->memLimit, params.memLimit);
    QCOMPARE(PageCipher::paramsText({3, 67108864}), QStringLiteral("argon2id,3,67108864"));
    QVERIFY(PageCipher::paramsFromText(QStringLiteral("argon2id,1,8192")));
}

void PageCipherTest::paramsFromTextRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("other algorithm") << QStringLiteral("argon2i,3,67108864");
    QTest::newRow("algorithm in capitals") << QStringLiteral("ARGON2ID,3,67108864");
    QTest::newRow("field missing") << QStringLiteral("argon2id,3");
    QTest::newRow("field too many") << QStringLiteral("argon2id,3,67108864,1");
    QTest::newRow("blank") << QStringLiteral("argon2id, 3,67108864");
    QTest::newRow("trailing blank") << QStringLiteral("argon2id,3,67108864 ");
    QTest::newRow("sign") << QStringLiteral("argon2id,+3,67108864");
    QTest::newRow("negative") << QStringLiteral("argon2id,-3,67108864");
    QTest::newRow("leading zero") << QStringLiteral("argon2id,03,67108864");
    QTest::newRow("not a number") << QStringLiteral("argon2id,three,67108864");
    QTest::newRow("hexadecimal") << QStringLiteral("argon2id,3,0x4000000");
    QTest::newRow("no passes") << QStringLiteral("argon2id,0,67108864");
    QTest::newRow("memory below libsodium's least") << QStringLiteral("argon2id,3,1024");
    QTest::newRow("passes that would take minutes") << QStringLiteral("argon2id,1000,67108864");
    QTest::newRow("memory of a terabyte") << QStringLiteral("argon2id,3,1099511627776");
    QTest::newRow("beyond 64 bits") << QStringLiteral("argon2id,3,99999999999999999999999");
}

void PageCipherTest::paramsFromTextRejects()
{
    QFETCH(QString, text);
    QVERIFY(!PageCipher::paramsFromText(text));
}

void PageCipherTest::deriveKeyRefuses_data()
{
    QTest::addColumn<QByteArray>("salt");
    QTest::addColumn<PageCipher::Params>("params");
    QTest::newRow("short salt") << QByteArray(15, 's') << fastParams;
    QTest::newRow("long salt") << QByteArray(17, 's') << fastParams;
    QTest::newRow("no passes") << QByteArray(16, 's') << PageCipher::Params{0, 8192};
    QTest::newRow("too little memory") << QByteArray(16, 's') << PageCipher::Params{1, 1024};
}

void PageCipherTest::deriveKeyRefuses()
{
    QFETCH(QByteArray, salt);
    QFETCH(PageCipher::Params, params);
    QVERIFY(!PageCipher::deriveKey(QStringLiteral("pw"), salt, params).isValid());
}

void PageCipherTest::defaultParamsDerive()
{
    const QByteArray salt = PageCipher::newSalt();
    const CryptKey key =
        PageCipher::deriveKey(QStringLiteral("pässwörd🙂"), salt, PageCipher::defaultParams());
    QVERIFY(key.isValid());
    const QStringList sealed = PageCipher::seal(key, sampleText);
    const CryptKey again =
        PageCipher::deriveKey(QStringLiteral("pässwörd🙂"), salt, PageCipher::defaultParams());
    QCOMPARE(PageCipher::open(again, sealed), std::optional<QStringList>(sampleText));
}

void PageCipherTest::newSaltsAreRandom()
{
    const QByteArray first = PageCipher::newSalt();
    QCOMPARE(first.size(), 16);
    QVERIFY(first != PageCipher::newSalt());
    QVERIFY(first != QByteArray(16, '\0'));
}

void PageCipherTest::ordinaryPagesAreNotSealed_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no lines") << QStringList();
    QTest::newRow("one empty line") << QStringList{QString()};
    QTest::newRow("notes") << QStringList{QStringLiteral("USER bob PW hunter2"),
                                          QStringLiteral("WWW example.org")};
    QTest::newRow("the tag alone") << QStringList{QStringLiteral("QUILLBOX-ENCRYPTED-PAGE")};
    QTest::newRow("the tag in a sentence")
        << QStringList{QStringLiteral("QUILLBOX-ENCRYPTED-PAGE is what the file shows")};
    QTest::newRow("the tag in small letters")
        << QStringList{QStringLiteral("quillbox-encrypted-page 1 AAAA")};
    QTest::newRow("the tag with a word for the version")
        << QStringList{QStringLiteral("QUILLBOX-ENCRYPTED-PAGE one AAAA")};
    QTest::newRow("the tag with words after it")
        << QStringList{QStringLiteral("QUILLBOX-ENCRYPTED-PAGE 1 is my note")};
    QTest::newRow("the file's marker line")
        << QStringList{QStringLiteral("ENCRYPTED DATA DO NOT EDIT")};
    QTest::newRow("the tag on the second line")
        << QStringList{QStringLiteral("x"), QStringLiteral("QUILLBOX-ENCRYPTED-PAGE 1 AAAA")};
}

void PageCipherTest::ordinaryPagesAreNotSealed()
{
    QFETCH(QStringList, lines);
    QVERIFY(!PageCipher::isSealed(lines));
}

void PageCipherTest::wipeLeavesSharedCopies()
{
    QStringList lines{QStringLiteral("secret one"), QStringLiteral("secret two")};
    const QStringList copy = lines;
    QString text = QStringLiteral("secret text");
    const QString textCopy = text;
    PageCipher::wipe(lines);
    PageCipher::wipe(text);
    QVERIFY(lines.isEmpty());
    QVERIFY(text.isEmpty());
    QCOMPARE(copy, (QStringList{QStringLiteral("secret one"), QStringLiteral("secret two")}));
    QCOMPARE(textCopy, QStringLiteral("secret text"));
    QString empty;
    PageCipher::wipe(empty);
    QVERIFY(empty.isEmpty());
}

QTEST_GUILESS_MAIN(PageCipherTest)
#include "tst_pagecipher.moc"
