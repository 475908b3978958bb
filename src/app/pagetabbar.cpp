#include "pagetabbar.h"

#include "pagerecord.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QToolButton>

namespace {
// Where the name starts inside the tab: 8 pixels in on the selected tab, 3 on the others.
constexpr int SelectedNameIndent = 8;
constexpr int NameIndent = 3;
constexpr int NameTop = 3;
constexpr int SideRoom = 6;
constexpr int SquareSize = 4;
} // namespace

PageTabBar::PageTabBar(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("TabControl1"));
    setExpanding(false);
    setUsesScrollButtons(true);
    setDrawBase(true);
    setElideMode(Qt::ElideNone);
    setAttribute(Qt::WA_Hover);
}

int PageTabBar::addPage(const QString &name)
{
    return addTab(literalTabText(name));
}

QString PageTabBar::pageName(int index) const
{
    return tabText(index).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void PageTabBar::setPageName(int index, const QString &name)
{
    setTabText(index, literalTabText(name));
}

QString PageTabBar::literalTabText(const QString &name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

PageRecord *PageTabBar::record(int index) const
{
    return tabData(index).value<PageRecord *>();
}

void PageTabBar::setRecord(int index, PageRecord *record)
{
    setTabData(index, QVariant::fromValue(record));
}

QSize PageTabBar::tabSizeHint(int index) const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(pageName(index)) + SelectedNameIndent + 2 * SideRoom,
            metrics.height() + 2 * NameTop + 2 * SideRoom};
}

template <typename Handler> void PageTabBar::trackUserChange(Handler handler)
{
    const int previous = currentIndex();
    handler();
    if (currentIndex() != previous)
        emit changedByUser(previous);
}

void PageTabBar::mousePressEvent(QMouseEvent *event)
{
    trackUserChange([&] { QTabBar::mousePressEvent(event); });
}

void PageTabBar::keyPressEvent(QKeyEvent *event)
{
    trackUserChange([&] { QTabBar::keyPressEvent(event); });
}

#if QT_CONFIG(wheelevent)
void PageTabBar::wheelEvent(QWheelEvent *event)
{
    trackUserChange([&] { QTabBar::wheelEvent(event); });
}
#endif

void PageTabBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRegion area(rect());
    for (const QToolButton *button : findChildren<QToolButton *>()) {
        if (button->isVisible())
            area -= button->geometry();
    }
    painter.setClipRegion(area);

    if (drawBase()) {
        QStyleOptionTabBarBase base;
        base.initFrom(this);
        base.shape = shape();
        base.rect = QRect(0, height() - 2, width(), 2);
        style()->drawPrimitive(QStyle::PE_FrameTabBarBase, &base, &painter, this);
    }
    for (int i = 0; i < count(); ++i) {
        if (i == currentIndex())
            continue;
        drawTab(painter, i, tabRect(i));
    }
    if (currentIndex() >= 0)
        drawTab(painter, currentIndex(), tabRect(currentIndex()));
}

// The platform draws the tab's frame; inside it the tab is ours.
void PageTabBar::drawTab(QPainter &painter, int index, const QRect &frame) const
{
    if (!frame.intersects(rect()))
        return;
    QStyleOptionTab option;
    initStyleOption(&option, index);
    option.text.clear();
    style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);

    const QRect tab = frame.adjusted(2, 2, -2, -1);
    const QRect inner = tab.adjusted(3, 2, -3, -2);
    const bool selected = index == currentIndex();
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(tab, face);

    const PageRecord *page = record(index);
    if (page && page->isProtected) {
        // A square inside the inner corner on the selected tab, centred on it on the others.
        const int reach = selected ? SquareSize : SquareSize / 2;
        const QRect square(inner.x() + inner.width() - reach, inner.y() + inner.height() - reach,
                           SquareSize, SquareSize);
        painter.fillRect(square, Qt::blue);
    }

    const QPoint origin(tab.left() + (selected ? SelectedNameIndent : NameIndent),
                        tab.top() + NameTop);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(QRect(origin, QSize(tab.right() - origin.x() + 1, fontMetrics().height())),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, pageName(index));
}
