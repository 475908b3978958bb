#include "topband.h"

#include "windowcommands.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int BandHeight = 25;
constexpr int MenuBarMinimumWidth = 230;
constexpr int ToolsMinimumWidth = 130;

QToolButton *toolButton(QAction *action, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

TopBand *TopBand::forCommands(const WindowCommands &commands, QWidget *parent)
{
    const QStyle *style = parent->style();
    commands.hide->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
    commands.protectButton->setIcon(style->standardIcon(QStyle::SP_DialogNoButton));
    commands.save->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    return new TopBand(commands.menuBar,
                       {toolButton(commands.hide, QStringLiteral("BtnHide"), parent),
                        toolButton(commands.protectButton, QStringLiteral("BtnProtect"), parent),
                        toolButton(commands.save, QStringLiteral("BtnSave"), parent)},
                       parent);
}

TopBand::TopBand(QMenuBar *menuBar, const QList<QToolButton *> &tools, QWidget *parent)
    : QWidget(parent), m_menuBar(menuBar), m_tools(new QWidget(this)), m_toolButtons(tools)
{
    setObjectName(QStringLiteral("CoolBar1"));
    m_menuBar->setParent(this);
    m_menuBar->setMinimumWidth(MenuBarMinimumWidth);
    m_tools->setObjectName(QStringLiteral("Panel3"));
    m_tools->setMinimumWidth(ToolsMinimumWidth);
    auto *toolLayout = new QHBoxLayout(m_tools);
    toolLayout->setContentsMargins(0, 0, 0, 0);
    toolLayout->setSpacing(0);
    for (QToolButton *button : tools)
        toolLayout->addWidget(button, 0, Qt::AlignTop);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_menuBar);
    layout->addSpacing(6);
    layout->addWidget(m_tools);
    layout->addStretch(1);
    alignTools();
}

// The band is as high as the menu bar needs (at least its designed 25 pixels) and the menu bar
// fills it; each button takes the place and height of the menu titles.
void TopBand::alignTools()
{
    const int height = std::max(BandHeight, m_menuBar->sizeHint().height());
    setFixedHeight(height);
    m_menuBar->setFixedHeight(height);
    const QList<QAction *> titles = m_menuBar->actions();
    if (titles.isEmpty())
        return;
    const QRect title = m_menuBar->actionGeometry(titles.first());
    if (title.isEmpty())
        return;
    m_tools->layout()->setContentsMargins(0, title.top(), 0, 0);
    for (QToolButton *button : std::as_const(m_toolButtons))
        button->setFixedHeight(title.height());
}

void TopBand::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        alignTools();
}

void TopBand::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    alignTools(); // the menu bar's titles have their final size once the bar is polished
}

// The empty part of a menu bar, drawn across the whole band; the menu bar draws its own part
// over it.
void TopBand::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionMenuItem option;
    option.initFrom(this);
    option.state = QStyle::State_None;
    option.menuItemType = QStyleOptionMenuItem::EmptyArea;
    option.checkType = QStyleOptionMenuItem::NotCheckable;
    option.rect = rect();
    option.menuRect = rect();
    style()->drawControl(QStyle::CE_MenuBarEmptyArea, &option, &painter, m_menuBar);
}
