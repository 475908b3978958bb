#include "pagetabbar.h"

#include "tabrows.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QWheelEvent>

namespace {
// Where the name starts inside the tab: 8 pixels in on the selected tab, 3 on the others.
constexpr int SelectedNameIndent = 8;
constexpr int NameIndent = 3;
constexpr int NameTop = 3;
constexpr int SideRoom = 6;
constexpr int SquareSize = 4;
// A row is the name's height and the room above and below it inside the platform's frame.
constexpr int RowRoom = 10;
} // namespace

PageTabBar::PageTabBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabControl1"));
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int PageTabBar::addPage(const QString &name, bool isProtected)
{
    m_tabs.append({name, isProtected, tabWidth(name)});
    const bool first = m_current < 0;
    if (first)
        m_current = 0;
    tabsChanged();
    if (first)
        emit currentChanged();
    return count() - 1;
}

QString PageTabBar::pageName(int index) const
{
    return index >= 0 && index < count() ? m_tabs.at(index).name : QString();
}

void PageTabBar::setPageName(int index, const QString &name)
{
    if (index < 0 || index >= count())
        return;
    m_tabs[index].name = name;
    m_tabs[index].width = tabWidth(name);
    tabsChanged();
}

void PageTabBar::removePage(int index)
{
    if (index < 0 || index >= count())
        return;
    m_tabs.removeAt(index);
    m_hovered = -1;
    const bool selectedGone = index == m_current;
    if (index < m_current)
        --m_current;
    else if (selectedGone)
        m_current = qMin(index, count() - 1);
    tabsChanged();
    if (selectedGone)
        emit currentChanged();
}

void PageTabBar::movePage(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to)
        return;
    m_tabs.move(from, to);
    if (m_current == from)
        m_current = to;
    else if (from < m_current && to >= m_current)
        --m_current;
    else if (from > m_current && to <= m_current)
        ++m_current;
    tabsChanged();
}

bool PageTabBar::isPageProtected(int index) const
{
    return index >= 0 && index < count() && m_tabs.at(index).isProtected;
}

void PageTabBar::setPageProtected(int index, bool isProtected)
{
    if (index >= 0 && index < count() && m_tabs.at(index).isProtected != isProtected) {
        m_tabs[index].isProtected = isProtected;
        update(tabRect(index));
    }
}

void PageTabBar::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    const int previous = m_current;
    m_current = index;
    if (previous >= 0 && m_rectsValid && m_rects.at(previous).top() == m_rects.at(index).top()) {
        // The rows stay as they are: only the stretch from one tab to the other is drawn again,
        // with the overlap by which a style may draw a selected tab into its neighbours.
        const int overlap = style()->pixelMetric(QStyle::PM_TabBarTabOverlap, nullptr, this);
        update(m_rects.at(previous).united(m_rects.at(index)).adjusted(-overlap, 0, overlap, 0));
    } else {
        m_rectsValid = false; // the selected tab's row comes down to the page
        update();
    }
    emit currentChanged();
}

QRect PageTabBar::tabRect(int index) const
{
    return index >= 0 && index < count() ? rects().at(index) : QRect();
}

int PageTabBar::tabAt(const QPoint &position) const
{
    const QList<QRect> &all = rects();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).contains(position))
            return i;
    }
    return -1;
}

int PageTabBar::rowCount() const
{
    return TabRows::count(widths(), width());
}

QSize PageTabBar::sizeHint() const
{
    int oneRow = 0;
    for (const Tab &tab : m_tabs)
        oneRow += tab.width;
    return {oneRow, rowHeight()};
}

QSize PageTabBar::minimumSizeHint() const
{
    return {tabWidth(QString()), rowHeight()};
}

int PageTabBar::heightForWidth(int width) const
{
    return qMax(1, TabRows::count(widths(), width)) * rowHeight();
}

int PageTabBar::tabWidth(const QString &name) const
{
    return fontMetrics().horizontalAdvance(name) + SelectedNameIndent + 2 * SideRoom;
}

int PageTabBar::rowHeight() const
{
    return fontMetrics().height() + RowRoom;
}

QList<int> PageTabBar::widths() const
{
    QList<int> all;
    all.reserve(count());
    for (const Tab &tab : m_tabs)
        all.append(tab.width);
    return all;
}

// The tabs are laid out once when next asked for, however many changed meanwhile.
void PageTabBar::tabsChanged()
{
    m_rectsValid = false;
    updateGeometry();
    update();
}

// The rows stand on the strip's bottom edge: a strip given less height than its rows loses
// its top rows, never the selected tab's row.
const QList<QRect> &PageTabBar::rects() const
{
    if (!m_rectsValid) {
        const QList<int> all = widths();
        const int height = rowHeight();
        m_rects = TabRows::layOut(all, width(), height, m_current);
        const int top = this->height() - TabRows::count(all, width()) * height;
        for (QRect &rect : m_rects)
            rect.translate(0, top);
        m_rectsValid = true;
    }
    return m_rects;
}

void PageTabBar::selectByUser(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    const int previous = m_current;
    setCurrentIndex(index);
    emit changedByUser(previous);
}

void PageTabBar::setHovered(int index)
{
    if (index == m_hovered)
        return;
    update(tabRect(m_hovered));
    m_hovered = index;
    update(tabRect(m_hovered));
}

bool PageTabBar::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (Tab &tab : m_tabs)
            tab.width = tabWidth(tab.name);
        tabsChanged();
    }
    return QWidget::event(event);
}

void PageTabBar::resizeEvent(QResizeEvent *event)
{
    m_rectsValid = false;
    QWidget::resizeEvent(event);
}

void PageTabBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    selectByUser(tabAt(event->position().toPoint()));
}

void PageTabBar::mouseMoveEvent(QMouseEvent *event)
{
    setHovered(tabAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void PageTabBar::leaveEvent(QEvent *event)
{
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void PageTabBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Left && m_current > 0)
        selectByUser(m_current - 1);
    else if (event->key() == Qt::Key_Right && m_current < count() - 1)
        selectByUser(m_current + 1);
    else if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)
        event->ignore();
}

#if QT_CONFIG(wheelevent)
void PageTabBar::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    const int step = qAbs(delta.x()) > qAbs(delta.y()) ? delta.x() : delta.y();
    if (step == 0) {
        event->ignore();
        return;
    }
    const int index = m_current + (step > 0 ? -1 : 1);
    if (index >= 0 && index < count())
        selectByUser(index);
}
#endif

void PageTabBar::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QStyleOptionTabBarBase base;
    base.initFrom(this);
    base.shape = QTabBar::RoundedNorth;
    base.rect = QRect(0, height() - 2, width(), 2);
    style()->drawPrimitive(QStyle::PE_FrameTabBarBase, &base, &painter, this);

    const QList<QRect> &all = rects();
    for (int i = 0; i < count(); ++i) {
        if (i != m_current && all.at(i).intersects(event->rect()))
            drawTab(painter, i);
    }
    if (m_current >= 0)
        drawTab(painter, m_current);
}

// The platform draws the tab's frame; inside it the tab is ours.
void PageTabBar::drawTab(QPainter &painter, int index) const
{
    const QList<QRect> &all = rects();
    const QRect frame = all.at(index);
    const bool selected = index == m_current;
    QStyleOptionTab option;
    option.initFrom(this);
    option.rect = frame;
    option.shape = QTabBar::RoundedNorth;
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (selected)
        option.state |= QStyle::State_Selected;
    if (index == m_hovered)
        option.state |= QStyle::State_MouseOver;
    const bool first = frame.left() == 0;
    const bool last = index + 1 == count() || all.at(index + 1).top() != frame.top();
    option.position = first && last ? QStyleOptionTab::OnlyOneTab
                      : first       ? QStyleOptionTab::Beginning
                      : last        ? QStyleOptionTab::End
                                    : QStyleOptionTab::Middle;
    style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);

    const QRect tab = frame.adjusted(2, 2, -2, -1);
    const QRect inner = tab.adjusted(3, 2, -3, -2);
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(tab, face);

    if (isPageProtected(index)) {
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
