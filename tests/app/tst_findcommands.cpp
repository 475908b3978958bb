#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "editor/noteeditor.h"
#include "support/encryptednotes.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QComboBox>
#include <QDialog>
#include <QTest>

namespace {

// The user types text into the find dialog and presses OK.
SeamAnswers::Player typeAndConfirm(const QString &text)
{
    return [text](QDialog &dialog) {
        dialog.findChild<QComboBox *>(QStringLiteral("searchText"))->setEditText(text);
        dialog.accept();
        return dialog.result();
    };
}

NotesSettings lockedSecurity()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("pw");
    return settings;
}

} // namespace

class FindCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findAcrossPages_data();
    void findAcrossPages();
    void findAgainRepeatsFromTheCaret();
    void findsTextTypedOnAPageNoLongerShown();
    void findAgainWithoutASearchOpensTheDialog();
    void findPassesOverSealedPages_data();
    void findPassesOverSealedPages();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void FindCommandsTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
}

void FindCommandsTest::cleanup()
{
    m_fixture.reset();
}

void FindCommandsTest::findAcrossPages_data()
{
    QTest::addColumn<QList<bool>>("isProtected");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("foundPage");
    QTest::addColumn<QString>("message");
    QTest::newRow("found on a page before the current one")
        << QList<bool>{false, false, false} << 2 << 1 << QString();
    QTest::newRow("found after the current one")
        << QList<bool>{false, false, false} << 0 << 1 << QString();
    QTest::newRow("only on a locked page") << QList<bool>{false, true, false} << 2 << -1
                                           << QStringLiteral("NEEDLE not found\r1 Protected "
                                                             "Pages not searched");
    QTest::newRow("current page locked too")
        << QList<bool>{false, true, true} << 2 << -1
        << QStringLiteral("NEEDLE not found\r2 Protected Pages not searched");
}

void FindCommandsTest::findAcrossPages()
{
    QFETCH(QList<bool>, isProtected);
    QFETCH(int, current);
    QFETCH(int, foundPage);
    QFETCH(QString, message);
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("alpha")}, isProtected.at(0)},
                           {QStringLiteral("B"),
                            {QStringLiteral("first line"), QStringLiteral("one needle two")},
                            isProtected.at(1)},
                           {QStringLiteral("C"), {QStringLiteral("gamma")}, isProtected.at(2)}},
                          lockedSecurity());
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(current);
    SeamAnswers answers(typeAndConfirm(QStringLiteral("NEEDLE")));

    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(answers.dialogs, QStringList{"TextSearchDialog"});
    if (foundPage < 0) {
        QCOMPARE(answers.texts(), QStringList{message});
        QCOMPARE(answers.messages.first().kind, DialogSeam::Kind::Confirm);
        QCOMPARE(answers.messages.first().icon, QMessageBox::Question);
        QCOMPARE(window.tabBar()->currentIndex(), current);
        return;
    }
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(window.tabBar()->currentIndex(), foundPage);
    NoteEditor &editor = m_fixture->editor();
    QCOMPARE(editor.text(), QStringLiteral("first line\r\none needle two"));
    QCOMPARE(editor.selStart(), 16); // "first line", CR LF, "one "
    QCOMPARE(editor.textCursor().selectedText(), QStringLiteral("needle"));
    QCOMPARE(editor.textCursor().position(), editor.textCursor().selectionEnd());
    QVERIFY(editor.hasFocus());
}

// A page shown before holds its text in its document: the search looks there.
void FindCommandsTest::findsTextTypedOnAPageNoLongerShown()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("alpha")}},
                           {QStringLiteral("B"), {QStringLiteral("beta")}},
                           {QStringLiteral("C"), {QStringLiteral("gamma")}}});
    MainWindow &window = m_fixture->start();
    m_fixture->clickTab(1);
    m_fixture->type(QStringLiteral("typed needle "));
    m_fixture->clickTab(2);
    SeamAnswers answers(typeAndConfirm(QStringLiteral("NEEDLE")));

    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(window.tabBar()->currentIndex(), 1);
    QCOMPARE(m_fixture->editor().selStart(), 6);
    QCOMPARE(m_fixture->editor().textCursor().selectedText(), QStringLiteral("needle"));
}

void FindCommandsTest::findAgainRepeatsFromTheCaret()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("aaaa")}}});
    m_fixture->start();
    SeamAnswers answers(typeAndConfirm(QStringLiteral("aa")));
    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QList<int> starts{m_fixture->editor().selStart()};
    for (int i = 0; i < 3; ++i) {
        m_fixture->press(Qt::Key_F3);
        starts.append(m_fixture->editor().selStart());
    }
    QCOMPARE(starts, (QList<int>{1, 2, 0, 1}));
    QCOMPARE(answers.dialogs.size(), 1);
}

void FindCommandsTest::findAgainWithoutASearchOpensTheDialog()
{
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("text")}}});
    m_fixture->start();
    SeamAnswers answers;

    m_fixture->press(Qt::Key_F3);
    QCOMPARE(answers.dialogs, QStringList{"TextSearchDialog"});
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(m_fixture->editor().selStart(), 0);
}

void FindCommandsTest::findPassesOverSealedPages_data()
{
    QTest::addColumn<bool>("securityEnabled");
    QTest::newRow("security on") << true;
    // A sealed page shows locked whatever the lock says: its lines are no text to search.
    QTest::newRow("security off") << false;
}

void FindCommandsTest::findPassesOverSealedPages()
{
    QFETCH(bool, securityEnabled);
    NotesSettings settings;
    settings.securityEnabled = securityEnabled;
    const QString password = QStringLiteral("pw");
    EncryptedNotes::write(*m_fixture,
                          {{QStringLiteral("A"), {QStringLiteral("alpha")}},
                           {QStringLiteral("B"), {QStringLiteral("one needle two")}, true}},
                          password, -1, settings);
    MainWindow &window = m_fixture->start();
    SeamAnswers answers(typeAndConfirm(QStringLiteral("ENCRYPTED")));

    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(answers.texts(),
             QStringList{QStringLiteral("ENCRYPTED not found\r1 Protected Pages not searched")});
    QCOMPARE(window.tabBar()->currentIndex(), 0);

    EncryptedNotes::reveal(window, password);
    answers.setPlayer(typeAndConfirm(QStringLiteral("NEEDLE")));
    m_fixture->press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(window.tabBar()->currentIndex(), 1);
    QCOMPARE(m_fixture->editor().textCursor().selectedText(), QStringLiteral("needle"));
}

QTEST_MAIN(FindCommandsTest)
#include "tst_findcommands.moc"
