#include "hotkeyedit.h"

#include <QTest>

class TestHotKeyEdit : public QObject
{
    Q_OBJECT

private slots:
    void keyPress_data();
    void keyPress();
    void showsTheKeyByName();
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

QTEST_MAIN(TestHotKeyEdit)
#include "tst_hotkeyedit.moc"
