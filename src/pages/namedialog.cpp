#include "namedialog.h"

#include "productname.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NameDialog::NameDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(productName() + QStringLiteral(" enter page name"));
    auto *label = new QLabel(QStringLiteral("Page Name"));
    m_nameEdit = new QLineEdit;
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    label->setBuddy(m_nameEdit);

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_okPressed = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label);
    layout->addWidget(m_nameEdit);
    layout->addWidget(buttons);
}

QString NameDialog::name() const
{
    return m_nameEdit->text();
}

void NameDialog::setName(const QString &name)
{
    m_nameEdit->setText(name);
}
