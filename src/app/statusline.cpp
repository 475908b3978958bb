#include "statusline.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

namespace {
constexpr QColor silver(0xC0, 0xC0, 0xC0);
const QString DoubleClickHint = QStringLiteral("Double click a word to copy to clipboard");

QLabel *panel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// The width the panel needs to show text whole, with a little room on either side.
int neededWidth(const QLabel *label, const QString &text)
{
    return label->fontMetrics().horizontalAdvance(text) + 2 * label->frameWidth() +
           label->fontMetrics().averageCharWidth();
}

// text, shortened with "…" at the end when it does not fit the panel.
QString fitted(const QLabel *label, const QString &text)
{
    const int room = label->contentsRect().width() - label->fontMetrics().averageCharWidth();
    if (label->fontMetrics().horizontalAdvance(text) <= room)
        return text;
    return label->fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, room));
}
} // namespace

StatusLine::StatusLine(const QString &webAddress, QWidget *parent)
    : QFrame(parent), m_caret(panel(QStringLiteral("Line 1 Col 1"), this)),
      m_hint(panel(DoubleClickHint, this)),
      m_address(panel(webAddress + QStringLiteral("  "), this)), m_hintText(m_hint->text()),
      m_addressText(m_address->text())
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(21);
    setCursor(Qt::PointingHandCursor);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    QPalette silverText = palette();
    silverText.setColor(QPalette::WindowText, silver);
    setPalette(silverText);

    m_caret->setObjectName(QStringLiteral("Panel5"));
    QFont normal = font();
    normal.setBold(false);
    m_caret->setFont(normal);
    m_caret->setFixedWidth(
        std::max(104, neededWidth(m_caret, QStringLiteral("Line: 9999   Col: 999"))));
    QPalette plain = m_caret->palette();
    plain.setColor(QPalette::WindowText, QWidget::palette().color(QPalette::Text));
    m_caret->setPalette(plain);

    m_hint->setObjectName(QStringLiteral("Panel6"));
    m_hintWidth = std::max(224, neededWidth(m_hint, m_hintText));

    m_address->setObjectName(QStringLiteral("Panel1"));
    m_address->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_address->setAutoFillBackground(true);
    QPalette blue = m_address->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    m_address->setPalette(blue);
    m_addressWidth = neededWidth(m_address, m_addressText);
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placePanels();
}

void StatusLine::placePanels()
{
    const QRect area = contentsRect().marginsRemoved(QMargins(1, 1, 1, 1));
    const int caret = std::min(m_caret->width(), area.width());
    const int rest = area.width() - caret;
    const int address = std::min(rest, std::max(rest - m_hintWidth, m_addressWidth));
    const int hint = rest - address;
    m_caret->setGeometry(area.left(), area.top(), caret, area.height());
    m_hint->setGeometry(area.left() + caret, area.top(), hint, area.height());
    m_address->setGeometry(area.left() + caret + hint, area.top(), address, area.height());
    m_hint->setText(fitted(m_hint, m_hintText));
    m_address->setText(fitted(m_address, m_addressText));
}

void StatusLine::setCaretText(const QString &text)
{
    m_caret->setText(text);
}

QString StatusLine::caretText() const
{
    return m_caret->text();
}

void StatusLine::setHint(const QString &text)
{
    m_hintText = text;
    m_hint->setText(fitted(m_hint, m_hintText));
}

void StatusLine::resetHint()
{
    setHint(DoubleClickHint);
}

QString StatusLine::hint() const
{
    return m_hintText;
}

void StatusLine::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void StatusLine::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at) &&
        !m_hint->geometry().contains(at))
        emit clicked();
}
