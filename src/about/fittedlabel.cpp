#include "fittedlabel.h"

#include <QFontMetrics>

namespace {
constexpr int SmallestPixelSize = 6;
}

FittedLabel::FittedLabel(const QString &text, const QFont &designed, QWidget *parent)
    : QLabel(text, parent), m_designed(designed)
{
    setFont(designed);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void FittedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fit();
}

void FittedLabel::fit()
{
    QFont font = m_designed;
    const int room = contentsRect().width();
    while (font.pixelSize() > SmallestPixelSize &&
           QFontMetrics(font).horizontalAdvance(text()) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != this->font())
        setFont(font);
}
