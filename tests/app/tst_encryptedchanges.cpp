#include "app/mainwindow.h"
#include "crypt/pagecipher.h"
#include "support/encryptednotes.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QString Password = QStringLiteral("open sesame");
const QStringList Plain = {QStringLiteral("shopping list")};
const QStringList Secret = {QStringLiteral("PIN 4711 for the blue card")};
const QStringList Diary = {QStringLiteral("dear diary")};

// Notes, Passwords (protected), Diary.
QList<TestPage> threePages()
{
    return {{QStringLiteral("Notes"), Plain},
            {QStringLiteral("Passwords"), Secret, true},
            {QStringLiteral("Diary"), Diary}};
}

QStringList storedLines(const QString &path, int index)
{
    return WindowFixture::pagesIn(path).at(index).record.lines;
}

} // namespace

// Protected pages encrypted in the Notes file while the pages change otherwise: protection
// changed in the pages dialog, another copy of the program saving the same file, Find.
class EncryptedChangesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(PageCipher::initialize()); }
    void init() { m_fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void protectionChangedWhileLocked_data();
    void protectionChangedWhileLocked();
    void otherCopysSealedTextOpens();
    void sealedAnewByTheOtherCopyIsNoConflict();
    void sameTextSavedByBothCopiesIsNoConflict();
    void mergedTextThatDoesNotOpenStaysLocked();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void EncryptedChangesTest::protectionChangedWhileLocked_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("given");
    QTest::newRow("protect, password given") << 0 << Password;
    QTest::newRow("protect, cancelled") << 0 << QString();
    QTest::newRow("protect, wrong password") << 0 << QStringLiteral("guess");
    QTest::newRow("unprotect, password given") << 1 << Password;
    QTest::newRow("unprotect, cancelled") << 1 << QString();
}

void EncryptedChangesTest::protectionChangedWhileLocked()
{
    QFETCH(int, page);
    QFETCH(QString, given);
    const QList<QStringList> written = EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    const bool protecting = page == 0;
    SeamAnswers answers([&](QDialog &dialog) {
        if (EncryptedNotes::isPasswordDialog(dialog))
            return EncryptedNotes::answerPassword(dialog, given);
        dialog.findChild<QListWidget *>(QStringLiteral("pageList"))->setCurrentRow(page);
        dialog
            .findChild<QPushButton *>(protecting ? QStringLiteral("btnProtect")
                                                 : QStringLiteral("btnUnprotect"))
            ->click();
        dialog.findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        return dialog.result();
    });

    window.configurePages();
    QCOMPARE(answers.dialogs, (QStringList{"PagesDialog", "PasswordDialog"}));
    QVERIFY(!window.lockState().revealed());
    QVERIFY(!window.lockState().pageKey().isPresent());
    const bool changed = given == Password;
    const bool nowProtected = changed ? protecting : !protecting;
    QCOMPARE(window.pageRecord(page)->isProtected, nowProtected);
    QCOMPARE(storedLines(path, page).size() > 0 && PageCipher::isSealed(storedLines(path, page)),
             nowProtected);
    QCOMPARE(PageCipher::isSealed(window.pageRecord(page)->lines), nowProtected);
    QCOMPARE(window.pages().isLocked(page), nowProtected);
    if (!changed) {
        QCOMPARE(answers.messages.size(), 1);
        QVERIFY(answers.messages.first().text.contains(QStringLiteral("needs the password")));
        QCOMPARE(storedLines(path, page), written.at(page));
        return;
    }
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(storedLines(path, 1 - page), written.at(1 - page));
    EncryptedNotes::reveal(window, Password);
    QCOMPARE(window.pageRecord(0)->lines, Plain);
    QCOMPARE(window.pageRecord(1)->lines, Secret);
}

void EncryptedChangesTest::otherCopysSealedTextOpens()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    const CryptKey key = EncryptedNotes::keyOf(path, Password);
    const QStringList changed = {QStringLiteral("changed by the other copy")};
    WindowFixture::saveAsOtherCopy(path, [&](QList<StoredPage> &pages) {
        pages[1].record.lines = PageCipher::seal(key, changed);
    });

    window.pages().select(0);
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    QCOMPARE(window.pageCount(), 3);
    QCOMPARE(window.pageRecord(1)->lines, changed);
    QVERIFY(!window.pages().isLocked(1));
    window.disablePassword();
    QVERIFY(PageCipher::isSealed(window.pageRecord(1)->lines));
    QCOMPARE(PageCipher::open(key, window.pageRecord(1)->lines).value_or(QStringList()), changed);
}

// The other copy seals the page's unchanged text under a fresh nonce; this copy did not change
// it either, and keeps its stored lines: no page is added for a conflict.
void EncryptedChangesTest::sealedAnewByTheOtherCopyIsNoConflict()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    window.pages().select(2);
    m_fixture->type(QStringLiteral("first "));
    QVERIFY(window.saveNotes());
    const CryptKey key = EncryptedNotes::keyOf(path, Password);
    WindowFixture::saveAsOtherCopy(path, [&](QList<StoredPage> &pages) {
        pages[1].record.lines = PageCipher::seal(key, Secret);
        pages[0].record.lines = QStringList{QStringLiteral("other copy's list")};
    });

    m_fixture->type(QStringLiteral("second "));
    QVERIFY(window.saveNotes());
    QCOMPARE(window.pageCount(), 3);
    QCOMPARE(WindowFixture::pagesIn(path).size(), 3);
    QCOMPARE(window.pageRecord(1)->lines, Secret);
    QCOMPARE(PageCipher::open(key, storedLines(path, 1)).value_or(QStringList()), Secret);
    QCOMPARE(storedLines(path, 0), QStringList{QStringLiteral("other copy's list")});
}

// Both copies change the page to the same text, each sealing it under its own nonce.
void EncryptedChangesTest::sameTextSavedByBothCopiesIsNoConflict()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    const CryptKey key = EncryptedNotes::keyOf(path, Password);
    const QStringList both = {QStringLiteral("new ") + Secret.first()};
    QStringList theirs;
    WindowFixture::saveAsOtherCopy(path, [&](QList<StoredPage> &pages) {
        theirs = PageCipher::seal(key, both);
        pages[1].record.lines = theirs;
    });

    window.pages().select(1);
    m_fixture->type(QStringLiteral("new "));
    QVERIFY(window.saveNotes());
    QCOMPARE(window.pageCount(), 3);
    QCOMPARE(WindowFixture::pagesIn(path).size(), 3);
    QCOMPARE(window.pageRecord(1)->lines, both);
    const QStringList stored = storedLines(path, 1);
    QCOMPARE(PageCipher::open(key, stored).value_or(QStringList()), both);
}

void EncryptedChangesTest::mergedTextThatDoesNotOpenStaysLocked()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    window.pages().select(1);
    window.pages().select(2);
    QVERIFY(window.pages().document(1));
    QStringList damaged;
    WindowFixture::saveAsOtherCopy(path, [&](QList<StoredPage> &pages) {
        damaged = EncryptedNotes::damaged(pages[1].record.lines);
        pages[1].record.lines = damaged;
    });

    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    QCOMPARE(window.pageCount(), 3);
    QVERIFY(window.pages().isLocked(1));
    QCOMPARE(window.pageRecord(1)->lines, damaged);
    QVERIFY(!window.pages().document(1));
    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    QCOMPARE(storedLines(path, 1), damaged);
}

QTEST_MAIN(EncryptedChangesTest)
#include "tst_encryptedchanges.moc"
