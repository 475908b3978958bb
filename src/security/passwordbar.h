#pragma once

#include <QFrame>

class LockState;
class QLineEdit;
class QPushButton;

// The blue bar above the editor that asks for the password while the current page is locked.
// The right password opens the lock for every protected page; a wrong one changes nothing and
// stays in the box.
class PasswordBar : public QFrame
{
    Q_OBJECT

public:
    explicit PasswordBar(LockState &lock, QWidget *parent = nullptr);

    QLineEdit *passwordEdit() const { return m_edit; }
    QPushButton *revealButton() const { return m_reveal; }

    // Opens the lock when the box holds the password exactly (case and blanks count).
    void reveal();

signals:
    // The lock is open: the window shows the current page again.
    void revealed();

private:
    LockState &m_lock;
    QLineEdit *m_edit;
    QPushButton *m_reveal;
};
