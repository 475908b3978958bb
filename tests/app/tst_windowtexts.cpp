#include "startupoptions.h"
#include "windowtexts.h"

#include <QTest>

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void caption_data();
    void caption();
    void caretPosition_data();
    void caretPosition();
    void startUpOptions_data();
    void startUpOptions();
};

void WindowTextsTest::caption_data()
{
    QTest::addColumn<int>("hotKeyCode");
    QTest::addColumn<QString>("caption");
    const QString start = QStringLiteral("Quillbox by Brackmoor    (Esc = Hide");
    QTest::newRow("no hot key") << -1 << start + QStringLiteral(")");
    QTest::newRow("Ctrl+Alt+N") << 1078 << start + QStringLiteral("  Ctrl+Alt+N = Activate)");
    QTest::newRow("Ctrl+Shift+A") << 2065 << start + QStringLiteral("  Ctrl+Shift+A = Activate)");
    QTest::newRow("Win+A") << 65 << start + QStringLiteral("  Win+A = Activate)");
    QTest::newRow("digit") << 1055 << start + QStringLiteral("  Ctrl+Alt+7 = Activate)");
    QTest::newRow("F5 shows its code as a character")
        << 116 << start + QStringLiteral("  Win+t = Activate)");
    QTest::newRow("unknown modifier index counts as Win")
        << 3065 << start + QStringLiteral("  Win+A = Activate)");
}

void WindowTextsTest::caption()
{
    QFETCH(int, hotKeyCode);
    QFETCH(QString, caption);
    QCOMPARE(WindowTexts::caption(hotKeyCode), caption);
}

void WindowTextsTest::caretPosition_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << 1 << 1 << QStringLiteral("Line:   1   Col:   1");
    QTest::newRow("three digits") << 123 << 45 << QStringLiteral("Line: 123   Col:  45");
    QTest::newRow("wider than the field")
        << 12345 << 1000 << QStringLiteral("Line: 12345   Col: 1000");
}

void WindowTextsTest::caretPosition()
{
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(WindowTexts::caretPosition(line, column), text);
}

void WindowTextsTest::startUpOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("notesFile");
    QTest::addColumn<bool>("hide");
    const QString program = QStringLiteral("quillbox");
    const QString standard = QStringLiteral("/data/Quillbox.ini");
    QTest::newRow("nothing") << QStringList{program} << standard << false;
    QTest::newRow("/HIDE") << QStringList{program, QStringLiteral("/HIDE")} << standard << true;
    QTest::newRow("/hide") << QStringList{program, QStringLiteral("/hide")} << standard << true;
    QTest::newRow("/Hide") << QStringList{program, QStringLiteral("/Hide")} << standard << true;
    QTest::newRow("/HIDE not first")
        << QStringList{program, QStringLiteral("x"), QStringLiteral("/HIDE")} << standard << false;
    QTest::newRow("/HIDEX") << QStringList{program, QStringLiteral("/HIDEX")} << standard << false;
    QTest::newRow("--hide") << QStringList{program, QStringLiteral("--hide")} << standard << true;
    QTest::newRow("--notes FILE") << QStringList{program, QStringLiteral("--notes"),
                                                 QStringLiteral("/tmp/n.ini")}
                                  << QStringLiteral("/tmp/n.ini") << false;
    QTest::newRow("--notes=FILE and /HIDE")
        << QStringList{program, QStringLiteral("--notes=/tmp/n.ini"), QStringLiteral("/HIDE")}
        << QStringLiteral("/tmp/n.ini") << true;
    QTest::newRow("--notes without a file")
        << QStringList{program, QStringLiteral("--notes")} << standard << false;
}

void WindowTextsTest::startUpOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, notesFile);
    QFETCH(bool, hide);
    const StartUpOptions options =
        StartUpOptions::parse(arguments, QStringLiteral("/data/Quillbox.ini"));
    QCOMPARE(options.notesFile, notesFile);
    QCOMPARE(options.hide, hide);
}

QTEST_GUILESS_MAIN(WindowTextsTest)
#include "tst_windowtexts.moc"
