#include "options/hotkeyedit.h"

#include <QFile>
#include <QTest>

class TestHotKeyEdit : public QObject
{
    Q_OBJECT

private slots:
    void keyPress_data();
    void keyPress();
    void showsTheKeyByName();
    void takesTheKeysTheManualNames_data();
    void takesTheKeysTheManualNames();

private:
    static QStringList manualStandardKeys();
};

void TestHotKeyEdit::keyPress_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("virtualKey");

    const int start = 'B';
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << int('A');
    QTest::newRow("Ctrl dropped") << int(Qt::Key_A) << int(Qt::ControlModifier) << int('A');
    QTest::newRow("Ctrl Alt Shift Meta dropped")
        << int(Qt::Key_N)
        << int(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier)
        << int('N');
    QTest::newRow("function key with Shift") << int(Qt::Key_F5) << int(Qt::ShiftModifier) << 0x74;
    QTest::newRow("shifted digit gives the digit")
        << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << int('1');
    QTest::newRow("keypad digit") << int(Qt::Key_1) << int(Qt::KeypadModifier) << 0x61;
    QTest::newRow("Shift alone changes nothing")
        << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << start;
    QTest::newRow("Ctrl alone changes nothing")
        << int(Qt::Key_Control) << int(Qt::ControlModifier) << start;
    QTest::newRow("Alt alone changes nothing") << int(Qt::Key_Alt) << int(Qt::AltModifier) << start;
    QTest::newRow("Windows key alone changes nothing")
        << int(Qt::Key_Meta) << int(Qt::MetaModifier) << start;
    QTest::newRow("Esc is left to the dialog")
        << int(Qt::Key_Escape) << int(Qt::NoModifier) << start;
    QTest::newRow("Enter is left to the dialog")
        << int(Qt::Key_Return) << int(Qt::NoModifier) << start;
}

void TestHotKeyEdit::keyPress()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    HotKeyEdit edit;
    edit.setVirtualKey('B');
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(edit.virtualKey(), "virtualKey");
}

void TestHotKeyEdit::showsTheKeyByName()
{
    HotKeyEdit edit;
    edit.setVirtualKey('A');
    QCOMPARE(edit.text(), QStringLiteral("A"));
    QTest::keyClick(&edit, Qt::Key_F5, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("F5"));
}

// The standard keys the manual's hot-key section lists ("standard key: a letter, …, Pause or a
// punctuation key.").
QStringList TestHotKeyEdit::manualStandardKeys()
{
    QFile manual(QStringLiteral(QUILLBOX_HELP_HTML));
    if (!manual.open(QIODevice::ReadOnly))
        return {};
    QString html = QString::fromUtf8(manual.readAll());
    html = html.mid(html.indexOf(QStringLiteral("id=\"hotkey\"")));
    const qsizetype start = html.indexOf(QStringLiteral("standard key:"));
    const qsizetype end = html.indexOf(u'.', start);
    QString list = html.mid(start + 13, end - start - 13).simplified();
    list.replace(QStringLiteral(" or "), QStringLiteral(", "));
    QStringList keys;
    for (const QString &key : list.split(QStringLiteral(", ")))
        keys.append(key.trimmed());
    return keys;
}

void TestHotKeyEdit::takesTheKeysTheManualNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::newRow("Esc") << "Esc" << int(Qt::Key_Escape);
    QTest::newRow("Enter") << "Enter" << int(Qt::Key_Return);
    QTest::newRow("Tab") << "Tab" << int(Qt::Key_Tab);
    QTest::newRow("Backspace") << "Backspace" << int(Qt::Key_Backspace);
    QTest::newRow("Space") << "Space" << int(Qt::Key_Space);
    QTest::newRow("Pause") << "Pause" << int(Qt::Key_Pause);
    QTest::newRow("Insert") << "Insert" << int(Qt::Key_Insert);
    QTest::newRow("Delete") << "Delete" << int(Qt::Key_Delete);
    QTest::newRow("Home") << "Home" << int(Qt::Key_Home);
}

// The box takes a key exactly when the manual names it as a standard key.
void TestHotKeyEdit::takesTheKeysTheManualNames()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    const QStringList listed = manualStandardKeys();
    QVERIFY2(listed.contains(QStringLiteral("Space")), qPrintable(listed.join(u'|')));

    HotKeyEdit edit;
    edit.setVirtualKey('B');
    QTest::keyClick(&edit, Qt::Key(key));
    QCOMPARE(edit.virtualKey() != 'B', listed.contains(name));
}

QTEST_MAIN(TestHotKeyEdit)
#include "tst_hotkeyedit.moc"
