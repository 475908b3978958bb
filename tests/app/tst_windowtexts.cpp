#include "app/windowtexts.h"

#include <QTest>

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void caption_data();
    void caption();
    void caretPosition_data();
    void caretPosition();
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

QTEST_GUILESS_MAIN(WindowTextsTest)
#include "tst_windowtexts.moc"
