#include "notes/notessettings.h"
#include "security/lockstate.h"
#include "security/passworddialog.h"
#include "support/seamanswers.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString mismatch = QStringLiteral("Error: Passord and Verify do not match. Please reenter");
const QString noPassword = QStringLiteral("Error: Please enter a Password");
const QString firstPasswordNotice =
    QStringLiteral("Confirm: Use the Pages | Confiure Pages Menu option\r"
                   "to set which pages are to be protected");

// The dialog's controls by the names the tests use.
struct Controls
{
    explicit Controls(QDialog &dialog)
        : panelOld(dialog.findChild<QWidget *>(QStringLiteral("panelOld"))),
          panelNew(dialog.findChild<QWidget *>(QStringLiteral("panelNew"))),
          editE(dialog.findChild<QLineEdit *>(QStringLiteral("editE"))),
          editN(dialog.findChild<QLineEdit *>(QStringLiteral("editN"))),
          editV(dialog.findChild<QLineEdit *>(QStringLiteral("editV"))),
          enableSecurity(dialog.findChild<QCheckBox *>(QStringLiteral("enableSecurity"))),
          ok(dialog.findChild<QPushButton *>(QStringLiteral("btnOK"))),
          cancel(dialog.findChild<QPushButton *>(QStringLiteral("btnCancel"))),
          help(dialog.findChild<QPushButton *>(QStringLiteral("btnHelp")))
    {
    }

    bool inExistingPasswordStep() const { return !panelOld->isHidden() && panelNew->isHidden(); }
    bool inNewPasswordStep() const { return panelOld->isHidden() && !panelNew->isHidden(); }

    QWidget *panelOld;
    QWidget *panelNew;
    QLineEdit *editE;
    QLineEdit *editN;
    QLineEdit *editV;
    QCheckBox *enableSecurity;
    QPushButton *ok;
    QPushButton *cancel;
    QPushButton *help;
};
} // namespace

class TestPasswordDialog : public QObject
{
    Q_OBJECT

private:
    NotesSettings m_settings;
    LockState m_lock{m_settings};

    void setLock(bool securityEnabled, const QString &password, bool revealed)
    {
        m_settings.securityEnabled = securityEnabled;
        m_settings.passwordText = password;
        m_lock.setRevealed(revealed);
    }

    void verifyLock(bool securityEnabled, const QString &password, bool revealed)
    {
        QCOMPARE(m_lock.securityEnabled(), securityEnabled);
        QCOMPARE(m_lock.passwordText(), password);
        QCOMPARE(m_lock.revealed(), revealed);
    }

private slots:
    void opensInTheRightStep_data()
    {
        QTest::addColumn<bool>("securityEnabled");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("revealed");
        QTest::addColumn<bool>("existingStep");
        QTest::newRow("no password") << false << "" << false << false;
        QTest::newRow("security on, no password") << true << "" << false << false;
        QTest::newRow("password kept, security off") << false << "abc" << false << true;
        QTest::newRow("locked") << true << "abc" << false << true;
        QTest::newRow("open") << true << "abc" << true << false;
        QTest::newRow("password kept, revealed") << false << "abc" << true << false;
    }

    void opensInTheRightStep()
    {
        QFETCH(bool, securityEnabled);
        QFETCH(QString, password);
        QFETCH(bool, revealed);
        QFETCH(bool, existingStep);
        setLock(securityEnabled, password, revealed);
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Security Password"));
        QCOMPARE(c.inExistingPasswordStep(), existingStep);
        QCOMPARE(c.inNewPasswordStep(), !existingStep);
        QCOMPARE(c.editE->text(), QString());
        QCOMPARE(c.editN->text(), existingStep ? QString() : password);
        QCOMPARE(c.editV->text(), existingStep ? QString() : password);
        QCOMPARE(c.enableSecurity->isChecked(), securityEnabled);
        QCOMPARE(dialog.focusWidget(), existingStep ? c.editE : c.editN);
        QCOMPARE(c.editE->echoMode(), QLineEdit::Normal);
        QCOMPARE(c.editN->echoMode(), QLineEdit::Password);
        QCOMPARE(c.editV->echoMode(), QLineEdit::Password);
    }

    void newPasswordStep_data()
    {
        QTest::addColumn<bool>("securityEnabled");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("verifyText");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QStringList>("expectedMessages");
        QTest::addColumn<bool>("expectedSecurity");
        QTest::addColumn<QString>("expectedPassword");

        const QString ascii30 = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");
        const QString e15 = QString(15, QChar(0xe9));
        const QString e14 = QString(14, QChar(0xe9));
        const QString ascii28 = ascii30.left(28);
        const QString emoji = QStringLiteral("\U0001F600");

        QTest::newRow("first password")
            << false << ""
            << "abc"
            << "abc" << true << QStringList{firstPasswordNotice} << true << "abc";
        QTest::newRow("changed password") << true << "abc"
                                          << "xyz"
                                          << "xyz" << true << QStringList{} << true << "xyz";
        QTest::newRow("verify differs") << true << "abc"
                                        << "xyz"
                                        << "xyZ" << true << QStringList{mismatch} << true << "abc";
        QTest::newRow("verify differs before blank check")
            << false << ""
            << "  "
            << " " << true << QStringList{mismatch} << false << "";
        QTest::newRow("blanks refused while enabled")
            << false << ""
            << " \t "
            << " \t " << true << QStringList{noPassword} << false << "";
        QTest::newRow("empty refused while enabled")
            << true << "abc"
            << ""
            << "" << true << QStringList{noPassword} << true << "abc";
        QTest::newRow("blanks kept while disabled")
            << false << ""
            << "   "
            << "   " << false << QStringList{} << false << "   ";
        QTest::newRow("emptied switches security off")
            << true << "abc"
            << ""
            << "" << false << QStringList{} << false << "";
        QTest::newRow("unchecked keeps the password")
            << true << "abc"
            << "abc"
            << "abc" << false << QStringList{} << false << "abc";
        QTest::newRow("cut to 30 bytes") << true << "abc" << ascii30 + "XYZ" << ascii30 + "XYZ"
                                         << true << QStringList{} << true << ascii30;
        QTest::newRow("two-byte characters not cut")
            << true << "abc" << e15 + QChar(0xe9) << e15 + QChar(0xe9) << true << QStringList{}
            << true << e15;
        QTest::newRow("character straddling byte 30 dropped")
            << true << "abc"
            << "a" + e15 << "a" + e15 << true << QStringList{} << true << "a" + e14;
        QTest::newRow("four-byte character not cut")
            << true << "abc" << ascii28 + emoji << ascii28 + emoji << true << QStringList{} << true
            << ascii28;
    }

    void newPasswordStep()
    {
        QFETCH(bool, securityEnabled);
        QFETCH(QString, password);
        QFETCH(QString, newText);
        QFETCH(QString, verifyText);
        QFETCH(bool, enable);
        QFETCH(QStringList, expectedMessages);
        QFETCH(bool, expectedSecurity);
        QFETCH(QString, expectedPassword);
        const bool revealed = !password.isEmpty();
        setLock(securityEnabled, password, revealed);
        SeamAnswers seam;
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        c.editN->setText(newText);
        c.editV->setText(verifyText);
        c.enableSecurity->setChecked(enable);

        c.ok->click();

        QCOMPARE(seam.captionedTexts(), expectedMessages);
        const bool committed =
            expectedMessages.isEmpty() || expectedMessages.first() == firstPasswordNotice;
        QCOMPARE(dialog.result(), committed ? QDialog::Accepted : QDialog::Rejected);
        verifyLock(expectedSecurity, expectedPassword, committed || revealed);
        if (!committed)
            QCOMPARE(dialog.focusWidget(),
                     expectedMessages.first() == mismatch ? c.editV : c.editN);
    }

    void typingIntoNewPasswordSetsEnableSecurity()
    {
        setLock(true, QStringLiteral("abc"), true);
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        c.editN->selectAll();
        QTest::keyClick(c.editN, Qt::Key_Backspace);
        QVERIFY(!c.enableSecurity->isChecked());
        QTest::keyClicks(c.editN, QStringLiteral("x"));
        QVERIFY(c.enableSecurity->isChecked());
        c.enableSecurity->setChecked(false);
        QTest::keyClicks(c.editN, QStringLiteral("y"));
        QVERIFY(c.enableSecurity->isChecked());
        QCOMPARE(c.editN->text(), QStringLiteral("xy"));
    }

    void existingPasswordStep_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right password") << "abc" << true;
        QTest::newRow("other letter case") << "ABC" << false;
        QTest::newRow("longer") << "abcd" << false;
        QTest::newRow("trailing blank") << "abc " << false;
        QTest::newRow("empty") << "" << false;
    }

    void existingPasswordStep()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        setLock(false, QStringLiteral("abc"), false);
        SeamAnswers seam;
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        c.editE->setText(typed);

        c.ok->click();

        QCOMPARE(c.inNewPasswordStep(), accepted);
        QCOMPARE(c.inExistingPasswordStep(), !accepted);
        QCOMPARE(c.editE->text(), typed);
        QCOMPARE(c.editN->text(), accepted ? QStringLiteral("abc") : QString());
        QCOMPARE(c.editV->text(), accepted ? QStringLiteral("abc") : QString());
        QCOMPARE(c.enableSecurity->isChecked(), accepted);
        QCOMPARE(dialog.focusWidget(), accepted ? c.editN : c.editE);
        QCOMPARE(dialog.result(), QDialog::Rejected);
        QCOMPARE(seam.captionedTexts(), QStringList());
        verifyLock(false, QStringLiteral("abc"), false);
    }

    void dialogShrinksToTheShownPanel()
    {
        setLock(true, QStringLiteral("abc"), false);
        PasswordDialog existing(m_lock);
        existing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&existing));
        const int existingHeight = existing.height();
        const Controls c(existing);
        c.editE->setText(QStringLiteral("abc"));
        c.ok->click();

        m_lock.setRevealed(true);
        PasswordDialog fresh(m_lock);
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QTRY_COMPARE(existing.size(), fresh.size());
        QVERIFY(existingHeight < fresh.height());
    }

    void closingWithoutOkChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }

    void closingWithoutOkChangesNothing()
    {
        QFETCH(QString, how);
        setLock(true, QStringLiteral("abc"), true);
        SeamAnswers seam;
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        c.editN->setText(QStringLiteral("xyz"));
        c.editV->setText(QStringLiteral("xyz"));
        c.enableSecurity->setChecked(false);

        if (how == QLatin1String("cancel"))
            c.cancel->click();
        else if (how == QLatin1String("esc"))
            QTest::keyClick(c.editV, Qt::Key_Escape);
        else
            dialog.close();

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), QDialog::Rejected);
        QCOMPARE(seam.captionedTexts(), QStringList());
        verifyLock(true, QStringLiteral("abc"), true);
    }

    // The dialog is built without a warning from Qt (none may reach the user's terminal), and
    // Tab goes from Verify Password to OK, Cancel and Help. Only the offscreen test platform's
    // notes on what it cannot do for windows are no warnings of the program.
    void opensQuietlyWithItsTabOrder()
    {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support ).*")));
        setLock(false, QString(), false);
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        c.editV->setFocus();
        for (QWidget *next : {static_cast<QWidget *>(c.ok), static_cast<QWidget *>(c.cancel),
                              static_cast<QWidget *>(c.help)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void enterInAnEditIsOk()
    {
        setLock(false, QString(), false);
        SeamAnswers seam;
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(c.editN, QStringLiteral("pw"));
        QTest::keyClicks(c.editV, QStringLiteral("pw"));
        QTest::keyClick(c.editV, Qt::Key_Return);
        QCOMPARE(dialog.result(), QDialog::Accepted);
        verifyLock(true, QStringLiteral("pw"), true);
    }

    void helpRequests_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<int>("expectedCommand");
        QTest::newRow("Help button: help contents") << false << 11;
        QTest::newRow("F1: context help") << true << 1;
    }

    void helpRequests()
    {
        QFETCH(bool, byKey);
        QFETCH(int, expectedCommand);
        PasswordDialog dialog(m_lock);
        const Controls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy spy(&dialog, &PasswordDialog::helpRequested);
        if (byKey)
            QTest::keyClick(c.editN, Qt::Key_F1);
        else
            c.help->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), QVariantList({expectedCommand, 120}));
        QVERIFY(dialog.isVisible());
    }

    // Through the seam as the main window runs it: the first password brings the notice, the
    // next visit (now revealed) opens in the new-password step and brings none.
    void firstPasswordNoticeShownOnce()
    {
        setLock(false, QString(), false);
        QStringList shownPasswords;
        SeamAnswers seam([&shownPasswords](QDialog &dialog) {
            const Controls c(dialog);
            shownPasswords.append(c.editN->text());
            c.editN->setText(QStringLiteral("secret"));
            c.editV->setText(QStringLiteral("secret"));
            c.ok->click();
            return dialog.result();
        });

        showPasswordDialog(m_lock, nullptr);
        verifyLock(true, QStringLiteral("secret"), true);
        showPasswordDialog(m_lock, nullptr);

        QCOMPARE(seam.dialogs.size(), 2);
        QCOMPARE(shownPasswords, QStringList({"", "secret"}));
        QCOMPARE(seam.captionedTexts(), QStringList{firstPasswordNotice});
    }

    void showPasswordDialogPassesHelpOn()
    {
        QList<QPair<int, int>> requests;
        SeamAnswers seam([](QDialog &dialog) {
            Controls(dialog).help->click();
            return int(QDialog::Rejected);
        });
        showPasswordDialog(m_lock, nullptr, [&requests](int command, int data) {
            requests.append({command, data});
        });
        QCOMPARE(requests, (QList<QPair<int, int>>{{11, 120}}));
    }

    // Asked only to confirm: the existing-password step alone; the right password closes it
    // with what was typed, a wrong one beeps and stays, Cancel gives nothing.
    void askPasswordConfirmsOnly_data()
    {
        QTest::addColumn<bool>("revealed");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("right") << false << QStringList{"abc"} << true;
        QTest::newRow("right while revealed") << true << QStringList{"abc"} << true;
        QTest::newRow("wrong, then right") << false << QStringList{"abC", "abc"} << true;
        QTest::newRow("wrong, then cancelled") << false << QStringList{"abC"} << false;
    }

    void askPasswordConfirmsOnly()
    {
        QFETCH(bool, revealed);
        QFETCH(QStringList, typed);
        QFETCH(bool, confirmed);
        setLock(true, QStringLiteral("abc"), revealed);
        QStringList steps;
        SeamAnswers seam([&](QDialog &dialog) {
            const Controls c(dialog);
            for (const QString &text : typed) {
                steps.append(c.inExistingPasswordStep() ? QStringLiteral("existing")
                                                        : QStringLiteral("new"));
                c.editE->setText(text);
                c.ok->click();
            }
            if (dialog.result() != QDialog::Accepted)
                c.cancel->click();
            return dialog.result();
        });

        const std::optional<QString> given = askPassword(m_lock, nullptr);
        QCOMPARE(steps, QStringList(typed.size(), QStringLiteral("existing")));
        QCOMPARE(given.has_value(), confirmed);
        if (confirmed)
            QCOMPARE(*given, QStringLiteral("abc"));
        verifyLock(true, QStringLiteral("abc"), revealed);
    }

    // With encrypted pages the password is not there to be shown: the new-password step starts
    // empty, and left empty it keeps the password (its check value), whatever the check box.
    void encryptedPasswordKeptWhenLeftEmpty_data()
    {
        QTest::addColumn<bool>("enable");
        QTest::newRow("security stays on") << true;
        QTest::newRow("security switched off") << false;
    }

    void encryptedPasswordKeptWhenLeftEmpty()
    {
        QFETCH(bool, enable);
        setLock(true, QString(), true);
        m_settings.encryptProtected = true;
        m_settings.cryptCheck = QStringLiteral("check value");
        SeamAnswers seam([&](QDialog &dialog) {
            const Controls c(dialog);
            if (c.inNewPasswordStep() && c.editN->text().isEmpty())
                c.enableSecurity->setChecked(enable);
            c.ok->click();
            return dialog.result();
        });

        QVERIFY(showPasswordDialog(m_lock, nullptr));
        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(m_lock.securityEnabled(), enable);
        QCOMPARE(m_settings.cryptCheck, QStringLiteral("check value"));
        QVERIFY(m_settings.passwordText.isEmpty());
        m_settings.encryptProtected = false;
        m_settings.cryptCheck.clear();
    }
};

QTEST_MAIN(TestPasswordDialog)
#include "tst_passworddialog.moc"
