#include "linenumbergutter.h"

#include "noteeditor.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>

namespace {
constexpr int leftOffset = 2;
constexpr int rightPadding = 4;
constexpr int minimumDigits = 2;

int digitCount(int number)
{
    int digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}
} // namespace

LineNumberGutter::LineNumberGutter(NoteEditor *editor) : QWidget(editor), m_editor(editor) {}

int LineNumberGutter::preferredWidth() const
{
    const int digits = std::max(minimumDigits, digitCount(m_editor->blockCount()));
    const int digitWidth = m_editor->fontMetrics().horizontalAdvance(QLatin1Char('9'));
    return leftOffset + digits * digitWidth + rightPadding;
}

QSize LineNumberGutter::sizeHint() const
{
    return {preferredWidth(), 0};
}

void LineNumberGutter::paintEvent(QPaintEvent *event)
{
    // The numbers stand beside the lines the text shows: its blocks measured with their colours.
    m_editor->announceShownBlocks();
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, face.lighter(115));
    gradient.setColorAt(1, face.darker(115));
    painter.fillRect(event->rect(), gradient);

    painter.setFont(m_editor->font());
    painter.setPen(palette().color(QPalette::ButtonText));
    const qreal textWidth = width() - rightPadding;
    const QRectF area = event->rect();

    QTextBlock block = m_editor->firstVisibleBlock();
    qreal top = m_editor->blockBoundingGeometry(block).translated(m_editor->contentOffset()).top();
    while (block.isValid() && top <= area.bottom()) {
        const qreal bottom = top + m_editor->blockBoundingRect(block).height();
        if (block.isVisible() && bottom >= area.top()) {
            painter.drawText(QRectF(0, top, textWidth, bottom - top), Qt::AlignRight | Qt::AlignTop,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

void LineNumberGutter::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit doubleClicked();
}
