#include "passworddialog.h"

#include "components/dialogseam.h"
#include "lockstate.h"
#include "notes/notespassword.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int HelpContextCommand = 1;
constexpr int HelpContentsCommand = 11;

// True when nothing but characters of code 32 or below is left after trimming them.
bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 32; });
}

QLineEdit *maskedEdit(const QString &objectName)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}
} // namespace

PasswordDialog::PasswordDialog(LockState &lock, QWidget *parent, Purpose purpose)
    : QDialog(parent), m_lock(lock), m_purpose(purpose)
{
    setWindowTitle(QStringLiteral("Security Password"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(createPanelOld());
    layout->addWidget(createPanelNew());
    layout->addWidget(createButtonRow());
    // The order can be set only once the button row belongs to the dialog.
    setTabOrder(m_editV, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);
    setTabOrder(m_btnCancel, m_btnHelp);

    connect(m_editN, &QLineEdit::textChanged, this, &PasswordDialog::editNChange);
    connect(m_btnOk, &QPushButton::clicked, this, &PasswordDialog::btnOkClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnHelp, &QPushButton::clicked, this,
            [this] { emit helpRequested(HelpContentsCommand, HelpContext); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { emit helpRequested(HelpContextCommand, HelpContext); });

    formShow();
}

QWidget *PasswordDialog::createPanelOld()
{
    m_panelOld = new QWidget;
    m_panelOld->setObjectName(QStringLiteral("panelOld"));
    m_editE = new QLineEdit;
    m_editE->setObjectName(QStringLiteral("editE"));
    auto *form = new QFormLayout(m_panelOld);
    form->addRow(QStringLiteral("Existing Password"), m_editE);
    return m_panelOld;
}

QWidget *PasswordDialog::createPanelNew()
{
    m_panelNew = new QWidget;
    m_panelNew->setObjectName(QStringLiteral("panelNew"));
    m_enableSecurity = new QCheckBox(QStringLiteral("Enable Security"));
    m_enableSecurity->setObjectName(QStringLiteral("enableSecurity"));
    m_editN = maskedEdit(QStringLiteral("editN"));
    m_editV = maskedEdit(QStringLiteral("editV"));
    auto *form = new QFormLayout(m_panelNew);
    form->addRow(m_enableSecurity);
    form->addRow(QStringLiteral("New Password"), m_editN);
    form->addRow(QStringLiteral("Verify Password"), m_editV);
    return m_panelNew;
}

QWidget *PasswordDialog::createButtonRow()
{
    auto *row = new QWidget;
    m_btnHelp = new QPushButton(QStringLiteral("Help"));
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    m_btnOk = new QPushButton(QStringLiteral("OK"));
    m_btnOk->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *button : {m_btnHelp, m_btnOk, m_btnCancel})
        button->setAutoDefault(false);
    m_btnOk->setDefault(true);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_btnHelp);
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);
    return row;
}

// The dialog is built for one use, so what its form did on showing is done once here.
void PasswordDialog::formShow()
{
    m_editE->clear();
    m_editV->clear();
    m_editN->clear();
    if (m_purpose == Purpose::Change && (m_lock.revealed() || !m_lock.hasPassword())) {
        showNewPasswordStep();
    } else {
        m_panelNew->hide();
        m_editE->setFocus();
    }
    m_enableSecurity->setChecked(m_lock.securityEnabled());
}

void PasswordDialog::showNewPasswordStep()
{
    m_editN->setText(m_lock.passwordText());
    m_editV->setText(m_lock.passwordText());
    m_panelNew->show();
    m_panelOld->hide();
    m_editN->setFocus();
}

void PasswordDialog::editNChange()
{
    m_enableSecurity->setChecked(!m_editN->text().isEmpty());
}

void PasswordDialog::btnOkClick()
{
    if (!m_panelOld->isHidden()) {
        if (!m_lock.passwordMatches(m_editE->text())) {
            QApplication::beep();
        } else if (m_purpose == Purpose::Confirm) {
            m_confirmed = m_editE->text();
            accept();
        } else {
            showNewPasswordStep();
        }
        return;
    }
    if (m_editN->text() != m_editV->text()) {
        DialogSeam::error(this, QStringLiteral("Passord and Verify do not match. Please reenter"));
        m_editV->setFocus();
        return;
    }
    if (!keepsPassword() && isBlank(m_editN->text()) && m_enableSecurity->isChecked()) {
        DialogSeam::error(this, QStringLiteral("Please enter a Password"));
        m_editN->setFocus();
        return;
    }
    commit();
}

// With encrypted pages the password is not known, so the new-password step starts empty: left
// empty, the password in force stays.
bool PasswordDialog::keepsPassword() const
{
    return m_lock.encrypting() && m_lock.hasPassword() && m_editN->text().isEmpty();
}

void PasswordDialog::commit()
{
    const bool firstPassword = !m_lock.hasPassword();
    if (!keepsPassword() && !m_lock.setPassword(NotesPassword::limit(m_editN->text()))) {
        DialogSeam::error(this, QStringLiteral("The key for the encrypted pages could not be "
                                               "made. The password is not changed."));
        return;
    }
    m_lock.setSecurityEnabled(m_enableSecurity->isChecked());
    if (firstPassword && m_lock.securityEnabled()) {
        DialogSeam::ask(this, DialogSeam::Kind::Confirm,
                        QStringLiteral("Use the Pages | Confiure Pages Menu option\r"
                                       "to set which pages are to be protected"),
                        QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Question);
    }
    m_lock.setRevealed(true);
    accept();
}

bool showPasswordDialog(LockState &lock, QWidget *parent,
                        const std::function<void(int command, int data)> &onHelp)
{
    PasswordDialog dialog(lock, parent);
    if (onHelp)
        QObject::connect(&dialog, &PasswordDialog::helpRequested, onHelp);
    return DialogSeam::exec(dialog) == QDialog::Accepted;
}

std::optional<QString> askPassword(LockState &lock, QWidget *parent,
                                   const std::function<void(int command, int data)> &onHelp)
{
    PasswordDialog dialog(lock, parent, PasswordDialog::Purpose::Confirm);
    if (onHelp)
        QObject::connect(&dialog, &PasswordDialog::helpRequested, onHelp);
    if (DialogSeam::exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.confirmedPassword();
}
