#pragma once

#include <QDialog>
#include <functional>

class LockState;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The "Security Password" dialog. It opens in the existing-password step when a password is
// set and was not given in this run, otherwise in the new-password step. OK in the new step
// commits "Enable Security" and the new password (cut to what the Notes file keeps) and opens
// the lock and accepts; Cancel, Esc and the close box change nothing.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 120;

    explicit PasswordDialog(LockState &lock, QWidget *parent = nullptr);

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
    void commit();

    LockState &m_lock;
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
// onHelp, when given, receives the dialog's help requests.
void showPasswordDialog(LockState &lock, QWidget *parent,
                        const std::function<void(int command, int data)> &onHelp = {});
