#include "statusline.h"

#include <QHBoxLayout>
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

// The designed width, or more when the font needs it for widest.
void setPanelWidth(QLabel *label, int designed, const QString &widest)
{
    const int needed = label->fontMetrics().horizontalAdvance(widest) + 2 * label->frameWidth() +
                       label->fontMetrics().averageCharWidth();
    label->setFixedWidth(std::max(designed, needed));
}
} // namespace

StatusLine::StatusLine(const QString &webAddress, QWidget *parent)
    : QFrame(parent), m_caret(panel(QStringLiteral("Line 1 Col 1"), this)),
      m_hint(panel(DoubleClickHint, this))
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
    setPanelWidth(m_caret, 104, QStringLiteral("Line: 9999   Col: 999"));
    QPalette plain = m_caret->palette();
    plain.setColor(QPalette::WindowText, QWidget::palette().color(QPalette::Text));
    m_caret->setPalette(plain);

    m_hint->setObjectName(QStringLiteral("Panel6"));
    setPanelWidth(m_hint, 224, m_hint->text());

    QLabel *web = panel(webAddress + QStringLiteral("  "), this);
    web->setObjectName(QStringLiteral("Panel1"));
    web->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    web->setAutoFillBackground(true);
    QPalette blue = web->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    web->setPalette(blue);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_caret);
    layout->addWidget(m_hint);
    layout->addWidget(web, 1);
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
    m_hint->setText(text);
}

void StatusLine::resetHint()
{
    m_hint->setText(DoubleClickHint);
}

QString StatusLine::hint() const
{
    return m_hint->text();
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
