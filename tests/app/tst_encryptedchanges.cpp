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

// Another copy of the program sets a new password: a new salt and check value, and every
// sealed page sealed again with the new key.
void changePasswordAsOtherCopy(const QString &path, const QString &from, const QString &to)
{
    const CryptKey old = EncryptedNotes::keyOf(path, from);
    WindowFixture::saveAsOtherCopy(path, [&](NotesSettings &settings, QList<StoredPage> &pages) {
        const PageCipher::Params params = PageCipher::defaultParams();
        settings.cryptSalt = PageCipher::newSalt();
        settings.cryptParams = PageCipher::paramsText(params);
        const CryptKey key = PageCipher::deriveKey(to, settings.cryptSalt, params);
        settings.cryptCheck = PageCipher::makeCheck(key);
        for (StoredPage &page : pages) {
            if (PageCipher::isSealed(page.record.lines))
                page.record.lines = PageCipher::seal(key, *PageCipher::open(old, page.record.lines));
        }
    });
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
    void passwordChangedByTheOtherCopy_data();
    void passwordChangedByTheOtherCopy();
    void encryptionTurnedOffByTheOtherCopy();

private:
    // The window on the three pages, Passwords encrypted under Password, revealed.
    MainWindow &startRevealed();

    std::unique_ptr<WindowFixture> m_fixture;
};

MainWindow &EncryptedChangesTest::startRevealed()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    return window;
}

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
    QCOMPARE(PageCipher::isSealed(window.pages().lines(page)), nowProtected);
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
    QCOMPARE(window.pages().lines(0), Plain);
    QCOMPARE(window.pages().lines(1), Secret);
}

void EncryptedChangesTest::otherCopysSealedTextOpens()
{
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
    const CryptKey key = EncryptedNotes::keyOf(path, Password);
    const QStringList changed = {QStringLiteral("changed by the other copy")};
    WindowFixture::saveAsOtherCopy(path, [&](QList<StoredPage> &pages) {
        pages[1].record.lines = PageCipher::seal(key, changed);
    });

    window.pages().select(0);
    m_fixture->type(QStringLiteral("mine "));
    QVERIFY(window.saveNotes());
    QCOMPARE(window.pageCount(), 3);
    QCOMPARE(window.pages().lines(1), changed);
    QVERIFY(!window.pages().isLocked(1));
    window.disablePassword();
    QVERIFY(PageCipher::isSealed(window.pages().lines(1)));
    QCOMPARE(PageCipher::open(key, window.pages().lines(1)).value_or(QStringList()), changed);
}

// The other copy seals the page's unchanged text under a fresh nonce; this copy did not change
// it either, and keeps its stored lines: no page is added for a conflict.
void EncryptedChangesTest::sealedAnewByTheOtherCopyIsNoConflict()
{
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
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
    QCOMPARE(window.pages().lines(1), Secret);
    QCOMPARE(PageCipher::open(key, storedLines(path, 1)).value_or(QStringList()), Secret);
    QCOMPARE(storedLines(path, 0), QStringList{QStringLiteral("other copy's list")});
}

// Both copies change the page to the same text, each sealing it under its own nonce.
void EncryptedChangesTest::sameTextSavedByBothCopiesIsNoConflict()
{
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
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
    QCOMPARE(window.pages().lines(1), both);
    const QStringList stored = storedLines(path, 1);
    QCOMPARE(PageCipher::open(key, stored).value_or(QStringList()), both);
}

void EncryptedChangesTest::mergedTextThatDoesNotOpenStaysLocked()
{
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
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
    QCOMPARE(window.pages().lines(1), damaged);
    QVERIFY(!window.pages().document(1));
    m_fixture->type(QStringLiteral("more "));
    QVERIFY(window.saveNotes());
    QCOMPARE(storedLines(path, 1), damaged);
}

void EncryptedChangesTest::passwordChangedByTheOtherCopy_data()
{
    QTest::addColumn<bool>("given");
    QTest::newRow("the new password given") << true;
    QTest::newRow("cancelled") << false;
}

// The other copy sets a new password while this copy has the protected pages open and one of
// them changed: the save that merges the other copy's change asks for the new password, and
// this copy's text is written sealed with the new key. Without the new password the pages lock.
void EncryptedChangesTest::passwordChangedByTheOtherCopy()
{
    QFETCH(bool, given);
    const QString newPassword = QStringLiteral("new sesame");
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
    window.pages().select(1);
    m_fixture->type(QStringLiteral("mine "));
    changePasswordAsOtherCopy(path, Password, newPassword);

    SeamAnswers answers([&](QDialog &dialog) {
        return EncryptedNotes::answerPassword(dialog, given ? newPassword : QString());
    });
    QVERIFY(window.saveNotes());
    QCOMPARE(answers.dialogs.size(), 1);
    QVERIFY(answers.texts().first().contains(QStringLiteral("password was changed")));
    if (!given) {
        QVERIFY(answers.texts().last().contains(QStringLiteral("cannot be opened")));
        QVERIFY(window.pages().isLocked(1));
        QVERIFY(!window.lockState().pageKey().isPresent());
        return;
    }
    QTRY_VERIFY(!window.notesChanged());
    QVERIFY(!window.pages().isLocked(1));
    const CryptKey key = EncryptedNotes::keyOf(path, newPassword);
    const QStringList mine = {QStringLiteral("mine ") + Secret.first()};
    int sealed = 0;
    for (const StoredPage &page : WindowFixture::pagesIn(path)) {
        if (!PageCipher::isSealed(page.record.lines))
            continue;
        ++sealed;
        const std::optional<QStringList> text = PageCipher::open(key, page.record.lines);
        QVERIFY2(text, qPrintable(page.name));
        if (page.name == QStringLiteral("Passwords"))
            QCOMPARE(*text, mine);
    }
    QVERIFY(sealed > 0);
    QCOMPARE(window.pages().lines(1), mine);
}

// The other copy turns encryption off while this copy has the protected pages open: this
// copy's pages are plain text from its next save on.
void EncryptedChangesTest::encryptionTurnedOffByTheOtherCopy()
{
    MainWindow &window = startRevealed();
    const QString path = m_fixture->notesPath();
    window.pages().select(1);
    m_fixture->type(QStringLiteral("mine "));
    const CryptKey key = EncryptedNotes::keyOf(path, Password);
    WindowFixture::saveAsOtherCopy(path, [&](NotesSettings &settings, QList<StoredPage> &pages) {
        settings.encryptProtected = false;
        settings.cryptSalt.clear();
        settings.cryptParams.clear();
        settings.cryptCheck.clear();
        settings.passwordText = Password;
        pages[0].record.lines = QStringList{QStringLiteral("other copy's list")};
        pages[1].record.lines = *PageCipher::open(key, pages[1].record.lines);
    });

    QVERIFY(window.saveNotes());
    QTRY_VERIFY(!window.notesChanged());
    const QStringList mine = {QStringLiteral("mine ") + Secret.first()};
    QCOMPARE(storedLines(path, 1), mine);
    QVERIFY(!EncryptedNotes::decoded(path).contains("QUILLBOX-ENCRYPTED-PAGE"));
    QVERIFY(!window.lockState().pageKey().isPresent());
}

QTEST_MAIN(EncryptedChangesTest)
#include "tst_encryptedchanges.moc"
