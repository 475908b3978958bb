#include "components/desktopentry.h"

#include <QtTest>

// Writing an autostart entry for a program and reading back which program an entry starts.
class DesktopEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void programPathsRoundTrip_data();
    void programPathsRoundTrip();
    void startedProgramOfHandWrittenEntries_data();
    void startedProgramOfHandWrittenEntries();
    void valueEscapesRoundTrip();
};

void DesktopEntryTest::programPathsRoundTrip_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("plain") << QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("blanks") << QStringLiteral("/home/ann/My Programs/quillbox");
    QTest::newRow("reserved characters") << QStringLiteral("/opt/a\"b`c$d\\e/quillbox");
    QTest::newRow("percent") << QStringLiteral("/opt/100%/quillbox");
    QTest::newRow("non-ASCII") << QStringLiteral("/home/j\u00f6rg/\u7b14\u8bb0/quillbox");
    QTest::newRow("leading blank in folder") << QStringLiteral("/tmp/ x/quillbox");
}

void DesktopEntryTest::programPathsRoundTrip()
{
    QFETCH(QString, program);
    const QByteArray entry = DesktopEntry::application(QStringLiteral("Quillbox"), program);
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QVERIFY(entry.contains("\nType=Application\n"));
    QVERIFY(entry.contains("\nName=Quillbox\n"));
    QCOMPARE(DesktopEntry::startedProgram(entry), program);
}

void DesktopEntryTest::startedProgramOfHandWrittenEntries_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("program");

    QTest::newRow("unquoted with arguments")
        << QByteArray("[Desktop Entry]\nType=Application\nExec=/usr/bin/quillbox /HIDE %U\n")
        << QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("name only") << QByteArray("[Desktop Entry]\nExec=quillbox\n")
                               << QStringLiteral("quillbox");
    QTest::newRow("blanks around =")
        << QByteArray("[Desktop Entry]\nExec =  \"/a b/quillbox\" --x\n")
        << QStringLiteral("/a b/quillbox");
    QTest::newRow("escaped backslash in quotes")
        << QByteArray("[Desktop Entry]\nExec=\"/a\\\\\\\\b/quillbox\"\n")
        << QStringLiteral("/a\\b/quillbox");
    QTest::newRow("comment and other keys")
        << QByteArray("# Exec=/wrong\n[Desktop Entry]\n# Exec=/also/wrong\nName=Q\n"
                      "Exec=/right\n")
        << QStringLiteral("/right");
    QTest::newRow("Exec of an action group ignored")
        << QByteArray("[Desktop Entry]\nExec=/main\n[Desktop Action new]\nExec=/action\n")
        << QStringLiteral("/main");
    QTest::newRow("Exec before the group ignored")
        << QByteArray("Exec=/outside\n[Desktop Entry]\nName=Q\n") << QString();
    QTest::newRow("switched off with Hidden")
        << QByteArray("[Desktop Entry]\nExec=/usr/bin/quillbox\nHidden=true\n") << QString();
    QTest::newRow("Hidden=false counts")
        << QByteArray("[Desktop Entry]\nHidden=false\nExec=/usr/bin/quillbox\n")
        << QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("CR LF lines") << QByteArray("[Desktop Entry]\r\nExec=/usr/bin/quillbox\r\n")
                                 << QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("not a desktop entry") << QByteArray("\x7f"
                                                       "ELF\x01\x02")
                                         << QString();
}

void DesktopEntryTest::startedProgramOfHandWrittenEntries()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, program);
    QCOMPARE(DesktopEntry::startedProgram(entry), program);
}

void DesktopEntryTest::valueEscapesRoundTrip()
{
    const QString text = QStringLiteral(" lead\\tab\there\nline\rend ");
    const QString value = DesktopEntry::escapeValue(text);
    QVERIFY(!value.contains(u'\n'));
    QVERIFY(value.startsWith(QStringLiteral("\\s")));
    QCOMPARE(DesktopEntry::unescapeValue(value), text);
}

QTEST_APPLESS_MAIN(DesktopEntryTest)
#include "tst_desktopentry.moc"
