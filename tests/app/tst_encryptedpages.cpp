#include "app/mainwindow.h"
#include "components/dialogseam.h"
#include "crypt/pagecipher.h"
#include "editor/noteeditor.h"
#include "security/passwordbar.h"
#include "support/encryptednotes.h"
#include "support/dialogcontrols.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString Password = QStringLiteral("open sesame");
const QStringList Plain = {QStringLiteral("shopping list")};
const QStringList Secret = {QStringLiteral("PIN 4711 for the blue card"),
                            QStringLiteral("second secret line")};
const QStringList Bank = {QStringLiteral("IBAN DE00 1234")};

// Notes, Passwords (protected), Bank (protected).
QList<TestPage> threePages()
{
    return {{QStringLiteral("Notes"), Plain},
            {QStringLiteral("Passwords"), Secret, true},
            {QStringLiteral("Bank"), Bank, true}};
}

// The user ticks or clears "Encrypt protected pages with the password" in Options and gives
// password when asked for one (an empty password: Cancel).
SeamAnswers::Player encryptionPlayer(bool on, const QString &password)
{
    return [on, password](QDialog &dialog) {
        if (EncryptedNotes::isPasswordDialog(dialog))
            return EncryptedNotes::answerPassword(dialog, password);
        auto *box = dialog.findChild<QCheckBox *>(QStringLiteral("encryptProtected"));
        if (!box)
            return int(QDialog::Rejected);
        box->setChecked(on);
        DialogControls::click(dialog, "ok");
        if (dialog.result() != QDialog::Accepted)
            DialogControls::click(dialog, "cancel");
        return dialog.result();
    };
}

QStringList storedLines(const QString &path, int index)
{
    return WindowFixture::pagesIn(path).at(index).record.lines;
}

} // namespace

// Protected pages encrypted in the Notes file: what is on disk, what is in memory while
// locked and open, and how a page that does not open is kept.
class EncryptedPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(PageCipher::initialize()); }
    void init() { m_fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void roundTripThroughTheNotesFile();
    void wrongPasswordOpensNothing();
    void turningOnLeavesNoSecretInTheFile();
    void cancelledPasswordKeepsTheOption_data();
    void cancelledPasswordKeepsTheOption();
    void changedTextIsSealedAnew();
    void pageThatDoesNotOpenIsKeptAsItIs();
    void turningOffRestoresThePlainLayout();
    void lockingWipesThePlainText_data();
    void lockingWipesThePlainText();
    void setPasswordSealsWithTheNewKey();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void EncryptedPagesTest::roundTripThroughTheNotesFile()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    MainWindow &window = m_fixture->start();
    window.pages().select(1);
    QVERIFY(window.pages().isLocked(1));
    QVERIFY(PageCipher::isSealed(window.pages().lines(1)));
    QVERIFY(m_fixture->editor().isReadOnly());

    EncryptedNotes::reveal(window, Password);
    QVERIFY(!window.pages().isLocked(1));
    QCOMPARE(m_fixture->editor().text(), Secret.join(QStringLiteral("\r\n")));
    m_fixture->type(QStringLiteral("new "));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!window.notesChanged());
    const QStringList onDisk = storedLines(m_fixture->notesPath(), 1);
    QVERIFY(PageCipher::isSealed(onDisk));
    QCOMPARE(storedLines(m_fixture->notesPath(), 0), Plain);

    m_fixture->discard();
    MainWindow &again = m_fixture->start();
    QCOMPARE(again.pages().lines(1), onDisk);
    EncryptedNotes::reveal(again, Password);
    QCOMPARE(again.pages().lines(1),
             (QStringList{QStringLiteral("new PIN 4711 for the blue card"), Secret.at(1)}));
    QCOMPARE(again.pages().lines(2), Bank);
}

void EncryptedPagesTest::wrongPasswordOpensNothing()
{
    const QList<QStringList> written = EncryptedNotes::write(*m_fixture, threePages(), Password);
    const NotesSettings settingsBefore = WindowFixture::settingsIn(m_fixture->notesPath());
    MainWindow &window = m_fixture->start();
    window.pages().select(1);

    EncryptedNotes::reveal(window, QStringLiteral("open Sesame"));
    QVERIFY(!window.lockState().revealed());
    QVERIFY(!window.lockState().pageKey().isPresent());
    QVERIFY(window.pages().isLocked(1));
    QCOMPARE(window.pages().lines(1), written.at(1));
    QCOMPARE(window.passwordBar()->passwordEdit()->text(), QStringLiteral("open Sesame"));

    window.setSettingsChanged();
    QVERIFY(window.saveNotes());
    for (int i = 0; i < written.size(); ++i)
        QCOMPARE(storedLines(m_fixture->notesPath(), i), written.at(i));
    const NotesSettings settingsAfter = WindowFixture::settingsIn(m_fixture->notesPath());
    QCOMPARE(settingsAfter.cryptSalt, settingsBefore.cryptSalt);
    QCOMPARE(settingsAfter.cryptCheck, settingsBefore.cryptCheck);
    QVERIFY(settingsAfter.encryptProtected);
}

void EncryptedPagesTest::turningOnLeavesNoSecretInTheFile()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = Password;
    m_fixture->writeNotes(threePages(), settings);
    MainWindow &window = m_fixture->start();
    SeamAnswers answers(encryptionPlayer(true, Password));

    window.optionsExecute();
    QCOMPARE(answers.dialogs, (QStringList{"OptionsDialog", "PasswordDialog"}));
    QVERIFY(window.settings().encryptProtected);
    QVERIFY(window.settings().passwordText.isEmpty());
    // Still locked: the protected pages hold only their sealed lines, and the key is gone.
    QVERIFY(PageCipher::isSealed(window.pages().lines(1)));
    QVERIFY(!window.lockState().pageKey().isPresent());

    const QString path = m_fixture->notesPath();
    const QByteArray decoded = EncryptedNotes::decoded(path);
    QVERIFY(decoded.contains("shopping list"));
    for (const QString &secret : Secret + Bank + QStringList{Password})
        QVERIFY2(!decoded.contains(secret.toUtf8()), qPrintable(secret));
    QCOMPARE(EncryptedNotes::value(path, "User2"), QByteArray(62, '0'));
    QCOMPARE(EncryptedNotes::value(path, "Crypt"), QByteArray("01"));
    QVERIFY(PageCipher::isSealed(storedLines(path, 1)));
    QVERIFY(PageCipher::isSealed(storedLines(path, 2)));

    EncryptedNotes::reveal(window, Password);
    QCOMPARE(window.pages().lines(1), Secret);
    QCOMPARE(window.pages().lines(2), Bank);
}

void EncryptedPagesTest::cancelledPasswordKeepsTheOption_data()
{
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<QString>("given");
    QTest::newRow("turning on, cancelled") << false << QString();
    QTest::newRow("turning on, wrong password") << false << QStringLiteral("guess");
    QTest::newRow("turning off, cancelled") << true << QString();
    QTest::newRow("turning off, wrong password") << true << QStringLiteral("guess");
}

void EncryptedPagesTest::cancelledPasswordKeepsTheOption()
{
    QFETCH(bool, encrypted);
    QFETCH(QString, given);
    if (encrypted) {
        EncryptedNotes::write(*m_fixture, threePages(), Password);
    } else {
        NotesSettings settings;
        settings.securityEnabled = true;
        settings.passwordText = Password;
        m_fixture->writeNotes(threePages(), settings);
    }
    MainWindow &window = m_fixture->start();
    const QByteArray before = m_fixture->fileBytes();
    SeamAnswers answers(encryptionPlayer(!encrypted, given));

    window.optionsExecute();
    QCOMPARE(answers.dialogs, (QStringList{"OptionsDialog", "PasswordDialog"}));
    QCOMPARE(window.settings().encryptProtected, encrypted);
    QCOMPARE(window.settings().passwordText, encrypted ? QString() : Password);
    QCOMPARE(PageCipher::isSealed(window.pages().lines(1)), encrypted);
    QVERIFY(!window.lockState().pageKey().isPresent());
    QVERIFY(!window.settingsChanged());
    QCOMPARE(m_fixture->fileBytes(), before);
}

void EncryptedPagesTest::changedTextIsSealedAnew()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    window.pages().select(1);

    m_fixture->type(QStringLiteral("x"));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    const QStringList edited = storedLines(path, 1);
    m_fixture->press(Qt::Key_Backspace);
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    const QStringList first = storedLines(path, 1);
    m_fixture->type(QStringLiteral("x"));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    m_fixture->press(Qt::Key_Backspace);
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    const QStringList second = storedLines(path, 1);

    // The same text saved twice: a fresh nonce each time, so different lines.
    QVERIFY(PageCipher::isSealed(first));
    QVERIFY(first != edited);
    QVERIFY(first != second);
    QVERIFY(first.first() != second.first()); // the header line carries the nonce
    // A save that does not change a page's text leaves its stored lines as they are.
    window.pages().select(0);
    m_fixture->type(QStringLiteral("more "));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(storedLines(path, 1), second);

    m_fixture->discard();
    MainWindow &again = m_fixture->start();
    EncryptedNotes::reveal(again, Password);
    QCOMPARE(again.pages().lines(1), Secret);
}

void EncryptedPagesTest::pageThatDoesNotOpenIsKeptAsItIs()
{
    const QList<QStringList> written = EncryptedNotes::write(*m_fixture, threePages(), Password, 2);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    SeamAnswers answers;

    EncryptedNotes::reveal(window, Password);
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(answers.messages.first().kind, DialogSeam::Kind::Error);
    QVERIFY2(answers.messages.first().text.contains(QStringLiteral("\"Bank\"")),
             qPrintable(answers.messages.first().text));
    QVERIFY(!window.pages().isLocked(1));
    QVERIFY(window.pages().isLocked(2));
    QCOMPARE(window.pages().lines(2), written.at(2));
    window.pages().select(2);
    QVERIFY(m_fixture->editor().isReadOnly());
    window.pages().select(0);
    QCOMPARE(answers.messages.size(), 1);

    m_fixture->type(QStringLiteral("more "));
    m_fixture->press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(storedLines(path, 2), written.at(2));

    // Neither a new password nor turning encryption off touches it.
    answers.setPlayer([](QDialog &dialog) {
        DialogControls::setText(dialog, "editN", QStringLiteral("new one"));
        DialogControls::setText(dialog, "editV", QStringLiteral("new one"));
        DialogControls::click(dialog, "btnOK");
        return dialog.result();
    });
    window.setPassword();
    QVERIFY(window.saveNotes());
    QCOMPARE(storedLines(path, 2), written.at(2));
    QVERIFY(storedLines(path, 1) != written.at(1));
    answers.setPlayer(encryptionPlayer(false, QStringLiteral("new one")));
    window.optionsExecute();
    QVERIFY(!window.settings().encryptProtected);
    QCOMPARE(storedLines(path, 1), Secret);
    QCOMPARE(storedLines(path, 2), written.at(2));
    QVERIFY(window.pages().isLocked(2));
}

void EncryptedPagesTest::turningOffRestoresThePlainLayout()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    MainWindow &window = m_fixture->start();
    SeamAnswers answers(encryptionPlayer(false, Password));

    window.optionsExecute();
    QVERIFY(!window.settings().encryptProtected);
    QCOMPARE(window.settings().passwordText, Password);
    QVERIFY(!window.lockState().pageKey().isPresent());
    // Still locked, as before: the pages show locked while their text is plain again.
    QVERIFY(window.pages().isLocked(1));
    QCOMPARE(storedLines(path, 1), Secret);
    QCOMPARE(storedLines(path, 2), Bank);
    const NotesSettings stored = WindowFixture::settingsIn(path);
    QVERIFY(!stored.encryptProtected);
    QCOMPARE(stored.passwordText, Password);
    QCOMPARE(EncryptedNotes::value(path, "Crypt"), QByteArray("00"));

    EncryptedNotes::reveal(window, Password);
    QVERIFY(!window.pages().isLocked(1));
    QVERIFY(answers.messages.isEmpty());

    // On again in the same run: the pages are sealed with the new key, not the old one.
    answers.setPlayer(encryptionPlayer(true, Password));
    window.optionsExecute();
    QVERIFY(window.settings().encryptProtected);
    QVERIFY(PageCipher::isSealed(storedLines(path, 1)));
    m_fixture->discard();
    MainWindow &again = m_fixture->start();
    EncryptedNotes::reveal(again, Password);
    QCOMPARE(again.pages().lines(1), Secret);
    QCOMPARE(again.pages().lines(2), Bank);
}

void EncryptedPagesTest::lockingWipesThePlainText_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Disable Password") << QStringLiteral("disable");
    QTest::newRow("Protect") << QStringLiteral("protect");
    QTest::newRow("hide with Hide disables Password") << QStringLiteral("hide");
    QTest::newRow("exit") << QStringLiteral("exit");
}

void EncryptedPagesTest::lockingWipesThePlainText()
{
    QFETCH(QString, how);
    NotesSettings settings = EncryptedNotes::secured();
    settings.hideDisablesPassword = how == QLatin1String("hide");
    EncryptedNotes::write(*m_fixture, threePages(), Password, -1, settings);
    MainWindow &window = m_fixture->start();
    EncryptedNotes::reveal(window, Password);
    window.pages().select(2);
    window.pages().select(1);
    m_fixture->type(QStringLiteral("typed "));
    QVERIFY(window.pages().document(1));
    QCOMPARE(window.pages().lines(2), Bank);

    if (how == QLatin1String("disable"))
        window.disablePassword();
    else if (how == QLatin1String("protect"))
        window.protect();
    else if (how == QLatin1String("hide"))
        window.hideWindow();
    else
        window.exitProgram();

    QVERIFY(!window.lockState().pageKey().isPresent());
    for (int page : {1, 2}) {
        QVERIFY(!window.pages().document(page));
        QVERIFY(PageCipher::isSealed(window.pages().lines(page)));
    }
    QVERIFY(!m_fixture->editor().text().contains(QStringLiteral("PIN")));
    // What was typed before the lock closed is in the sealed text.
    if (how == QLatin1String("disable"))
        QVERIFY(window.saveNotes());
    m_fixture->discard();
    MainWindow &again = m_fixture->start();
    EncryptedNotes::reveal(again, Password);
    QCOMPARE(again.pages().lines(1).first(), QStringLiteral("typed ") + Secret.first());
}

void EncryptedPagesTest::setPasswordSealsWithTheNewKey()
{
    EncryptedNotes::write(*m_fixture, threePages(), Password);
    const QString path = m_fixture->notesPath();
    const NotesSettings before = WindowFixture::settingsIn(path);
    MainWindow &window = m_fixture->start();
    // Locked: the existing password first, then the new one.
    SeamAnswers answers([](QDialog &dialog) {
        DialogControls::setText(dialog, "editE", Password);
        DialogControls::click(dialog, "btnOK");
        DialogControls::setText(dialog, "editN", QStringLiteral("another"));
        DialogControls::setText(dialog, "editV", QStringLiteral("another"));
        DialogControls::click(dialog, "btnOK");
        return dialog.result();
    });

    window.setPassword();
    QVERIFY(window.lockState().revealed());
    QVERIFY(window.saveNotes());
    const NotesSettings after = WindowFixture::settingsIn(path);
    QVERIFY(after.cryptSalt != before.cryptSalt);
    QVERIFY(after.cryptCheck != before.cryptCheck);
    QVERIFY(after.passwordText.isEmpty());

    m_fixture->discard();
    MainWindow &again = m_fixture->start();
    EncryptedNotes::reveal(again, Password);
    QVERIFY(again.pages().isLocked(1));
    EncryptedNotes::reveal(again, QStringLiteral("another"));
    QCOMPARE(again.pages().lines(1), Secret);
    QCOMPARE(again.pages().lines(2), Bank);
}

QTEST_MAIN(EncryptedPagesTest)
#include "tst_encryptedpages.moc"
