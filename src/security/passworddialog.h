#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class LockState;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The "Security Password" dialog. It opens in the existing-password step when a password is
// set and was not given in this run, otherwise in the new-password step. OK in the new step
// commits "Enable Security" and the new password (cut to what the Notes file keeps) and opens
// the lock and accepts; Cancel, Esc and the close box change nothing. With encrypted pages an
// empty new password keeps the password in force (it is not known to be shown again).
//
// Asked only to confirm the password, it shows the existing-password step alone and accepts
// when the password is right, keeping what was typed.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 120;

    enum class Purpose
    {
        Change,
        Confirm
    };

    explicit PasswordDialog(LockState &lock, QWidget *parent = nullptr,
                            Purpose purpose = Purpose::Change);

    // The right password typed in the existing-password step of a confirmation.
    const QString &confirmedPassword() const { return m_confirmed; }

signals:
    // command 11 (help contents) from the Help button, 1 (context help) from F1
    void helpRequested(int command, int data);

private:
    QWidget *createPanelOld();
    QWidget *createPanelNew();
    QWidget *createButtonRow();
    void formShow();
    void showNewPasswordStep();
    void editNChange();
    void btnOkClick();
    bool keepsPassword() const;
    void commit();

    LockState &m_lock;
    const Purpose m_purpose;
    QString m_confirmed;
    QWidget *m_panelOld = nullptr;
    QWidget *m_panelNew = nullptr;
    QLineEdit *m_editE = nullptr;
    QCheckBox *m_enableSecurity = nullptr;
    QLineEdit *m_editN = nullptr;
    QLineEdit *m_editV = nullptr;
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnHelp = nullptr;
};

// Runs the password dialog modally through the dialog seam. Callers read the lock afterwards;
// onHelp, when given, receives the dialog's help requests. True when it was committed.
bool showPasswordDialog(LockState &lock, QWidget *parent,
                        const std::function<void(int command, int data)> &onHelp = {});

// Asks for the password in force (the existing-password step alone); the typed password when
// it is right, nothing when the user cancelled.
std::optional<QString> askPassword(LockState &lock, QWidget *parent,
                                   const std::function<void(int command, int data)> &onHelp = {});
