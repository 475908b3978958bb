#include "passwordbar.h"

#include "lockstate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PasswordBar::PasswordBar(LockState &lock, QWidget *parent)
    : QFrame(parent), m_lock(lock), m_edit(new QLineEdit(this)),
      m_reveal(new QPushButton(QStringLiteral("Reveal"), this))
{
    setObjectName(QStringLiteral("PassPanel"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFixedHeight(41);
    setAutoFillBackground(true);
    QPalette bar = palette();
    bar.setColor(QPalette::Window, Qt::blue);
    bar.setColor(QPalette::WindowText, Qt::white);
    setPalette(bar);

    auto *label = new QLabel(QStringLiteral("Password"), this);
    m_edit->setObjectName(QStringLiteral("EditPW"));
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setStyleSheet(
        QStringLiteral("QLineEdit { lineedit-password-character: 42; color: black; }"));
    m_reveal->setObjectName(QStringLiteral("BtnReveal"));
    m_reveal->setAutoDefault(false);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_reveal);

    connect(m_reveal, &QPushButton::clicked, this, &PasswordBar::reveal);
    connect(m_edit, &QLineEdit::returnPressed, this, &PasswordBar::reveal);
    hide();
}

void PasswordBar::reveal()
{
    if (!m_lock.passwordMatches(m_edit->text()))
        return;
    m_lock.setRevealed(true);
    m_edit->clear();
    emit revealed();
}
