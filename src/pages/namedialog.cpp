#include "namedialog.h"

#include "components/productname.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// What a title bar takes besides the caption: the window icon and three buttons, with margins.
constexpr int TitleBarExtras = 110;
} // namespace

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
    fitCaption();
}

void NameDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
        fitCaption();
}

// Title bars usually write the caption in bold; the name field makes the dialog that wide.
void NameDialog::fitCaption()
{
    if (!m_nameEdit || !layout())
        return; // still being built
    QFont bold = font();
    bold.setBold(true);
    const int captionWidth = QFontMetrics(bold).horizontalAdvance(windowTitle()) + TitleBarExtras;
    const QMargins margins = layout()->contentsMargins();
    m_nameEdit->setMinimumWidth(captionWidth - margins.left() - margins.right());
}

QString NameDialog::name() const
{
    return m_nameEdit->text();
}

void NameDialog::setName(const QString &name)
{
    m_nameEdit->setText(name);
    m_nameEdit->selectAll(); // typing replaces the old name
}
