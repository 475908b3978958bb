#include "clickablepanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ClickablePanel::ClickablePanel(const QString &caption, QWidget *parent)
    : QFrame(parent), m_caption(caption), m_fill(palette().color(QPalette::Window)),
      m_captionColor(palette().color(QPalette::WindowText))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ClickablePanel::setColors(const QColor &fill, const QColor &caption)
{
    m_fill = fill;
    m_captionColor = caption;
    update();
}

QSize ClickablePanel::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextSingleLine, m_caption);
    return {std::max(text.width() + 16, 40), text.height() + 8};
}

void ClickablePanel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_fill);
    painter.setPen(m_captionColor);
    painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
    if (hasFocus()) {
        painter.setPen(QPen(m_captionColor, 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
    painter.end();
    QFrame::paintEvent(event);
}

void ClickablePanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickablePanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
        emit clicked();
    else
        QFrame::keyPressEvent(event);
}
