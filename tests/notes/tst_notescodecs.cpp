#include "notes/notescolor.h"
#include "notes/notesdatetime.h"
#include "notes/notespassword.h"
#include "notes/notestext.h"

#include <QStringDecoder>
#include <QTest>
#include <string>

class NotesCodecsTest : public QObject
{
    Q_OBJECT

private slots:
    void textFromBytes_data();
    void textFromBytes();
    void everySingleByteIsWindows1252();
    void textIsWrittenAsUtf8_data();
    void textIsWrittenAsUtf8();
    void colorValues_data();
    void colorValues();
    void passwordLimit_data();
    void passwordLimit();
    void passwordStoredForm();
    void passwordFromStored_data();
    void passwordFromStored();
    void dateTimeValue();
};

void NotesCodecsTest::textFromBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("www.example.org  pw: S3cr3t!")
                           << QStringLiteral("www.example.org  pw: S3cr3t!");
    QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x82\xAC, \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E, "
                                         "\xF0\x9F\x99\x82")
                           << QStringLiteral("Grüße €, 日本語, 🙂");
    QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 bill \xA3 12.50 \x80 \x93q\x94")
                                  << QStringLiteral("Café bill £ 12.50 € “q”");
    QTest::newRow("undefined bytes are C1 controls")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
    QTest::newRow("one stray byte makes the whole value 1252")
        << QByteArray("\xC3\xA9 and \xE9") << QStringLiteral("Ã© and é");
    QTest::newRow("overlong form is not UTF-8") << QByteArray("\xC0\xAF") << QStringLiteral("À¯");
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("\xED\xA0\x80") << QStringLiteral("í\u00A0€");
    QTest::newRow("cut character is not UTF-8")
        << QByteArray("ab\xE2\x82") << QStringLiteral("abâ‚");
    QTest::newRow("empty") << QByteArray() << QString();
}

void NotesCodecsTest::textFromBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(NotesText::fromBytes(bytes.toStdString()), text);
}

void NotesCodecsTest::everySingleByteIsWindows1252()
{
    QStringDecoder windows1252("windows-1252");
    if (!windows1252.isValid())
        QSKIP("Qt has no Windows-1252 decoder here to compare with");
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray bytes(1, char(byte));
        const QString expected = byte < 0x80 ? QString(QChar(byte)) : windows1252.decode(bytes);
        QCOMPARE(NotesText::fromBytes(bytes.toStdString()), expected);
    }
}

void NotesCodecsTest::textIsWrittenAsUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("beyond Latin-1")
        << QStringLiteral("Café 🙂") << QByteArray("Caf\xC3\xA9 \xF0\x9F\x99\x82");
    QTest::newRow("ASCII") << QStringLiteral("user: me\tpw: S3cr3t!\x7F")
                           << QByteArray("user: me\tpw: S3cr3t!\x7F");
    QTest::newRow("only the last character beyond ASCII")
        << QStringLiteral("abc\u0080") << QByteArray("abc\xC2\x80");
    QTest::newRow("empty") << QString() << QByteArray();
}

void NotesCodecsTest::textIsWrittenAsUtf8()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(NotesText::toBytes(text), bytes.toStdString());
    QCOMPARE(NotesText::fromBytes(NotesText::toBytes(text)), text);
}

void NotesCodecsTest::colorValues_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<quint32>("value");

    QTest::newRow("white") << QColor(Qt::white) << quint32(0x00FFFFFF);
    QTest::newRow("yellow") << QColor(Qt::yellow) << quint32(0x0000FFFF);
    QTest::newRow("aqua") << QColor(Qt::cyan) << quint32(0x00FFFF00);
    QTest::newRow("red, green, blue in order") << QColor(0x12, 0x34, 0x56) << quint32(0x00563412);
    QTest::newRow("none") << QColor() << quint32(0x1FFFFFFF);
}

void NotesCodecsTest::colorValues()
{
    QFETCH(QColor, color);
    QFETCH(quint32, value);
    QCOMPARE(NotesColor::toValue(color), value);
    QCOMPARE(NotesColor::fromValue(value), color);
}

void NotesCodecsTest::passwordLimit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("limited");

    const QString a27 = QString(27, u'a');
    QTest::newRow("short") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("30 ASCII") << QString(30, u'x') << QString(30, u'x');
    QTest::newRow("31 ASCII") << QString(31, u'x') << QString(30, u'x');
    QTest::newRow("2-byte character fits exactly")
        << a27.left(26) + QStringLiteral("ab\u00E9") << a27.left(26) + QStringLiteral("ab\u00E9");
    QTest::newRow("2-byte character over the end")
        << a27 + QStringLiteral("abc\u00E9") << a27 + QStringLiteral("abc");
    QTest::newRow("3-byte characters") << QString(11, u'€') << QString(10, u'€');
    QTest::newRow("4-byte character over the end") << a27 + QStringLiteral("🙂") << a27;
    QTest::newRow("4-byte character fits exactly")
        << a27.left(26) + QStringLiteral("🙂") << a27.left(26) + QStringLiteral("🙂");
}

void NotesCodecsTest::passwordLimit()
{
    QFETCH(QString, text);
    QFETCH(QString, limited);
    const QString result = NotesPassword::limit(text);
    QCOMPARE(result, limited);
    QVERIFY(result.toUtf8().size() <= 30);
    QVERIFY(result.toUtf8().isValidUtf8());
}

void NotesCodecsTest::passwordStoredForm()
{
    const NotesPassword::Stored stored = NotesPassword::toStored(QStringLiteral("abcde"));
    QCOMPARE(stored.size(), size_t(31));
    QCOMPARE(int(stored[0]), 5);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(stored.data() + 1), 5), QByteArray("abcde"));
    for (size_t i = 6; i < stored.size(); ++i)
        QCOMPARE(int(stored[i]), 0);

    const QString tooLong = QString(20, u'é');
    QCOMPARE(int(NotesPassword::toStored(tooLong)[0]), 30);
    QCOMPARE(NotesPassword::fromStored(NotesPassword::toStored(tooLong)), QString(15, u'é'));
}

void NotesCodecsTest::passwordFromStored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("password");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("UTF-8") << QByteArray("\x05p\xC3\xA4ss") << QStringLiteral("päss");
    QTest::newRow("Windows-1252") << QByteArray("\x04p\xE4ss") << QStringLiteral("päss");
    QTest::newRow("bytes after the length are not read") << QByteArray("\x02"
                                                                       "abcdef")
                                                         << QStringLiteral("ab");
    QTest::newRow("a length above 30 counts as 30")
        << QByteArray("\xFF") + QByteArray(30, 'z') << QString(30, u'z');
}

void NotesCodecsTest::passwordFromStored()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, password);
    NotesPassword::Stored stored{};
    std::copy(bytes.begin(), bytes.end(), stored.begin());
    QCOMPARE(NotesPassword::fromStored(stored), password);
}

void NotesCodecsTest::dateTimeValue()
{
    QCOMPARE(NotesDateTime::toValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    QCOMPARE(NotesDateTime::toValue(QDateTime(QDate(2026, 12, 8), QTime(12, 0))), 46364.5);
    QCOMPARE(NotesDateTime::toValue(QDateTime(QDate(2026, 12, 8), QTime(18, 0))), 46364.75);
    QCOMPARE(NotesDateTime::dayOf(46364.75), 46364.0);
    QCOMPARE(NotesDateTime::dayOf(46365.0), 46365.0);
}

QTEST_GUILESS_MAIN(NotesCodecsTest)
#include "tst_notescodecs.moc"
