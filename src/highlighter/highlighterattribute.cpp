#include "highlighterattribute.h"

#include <QFont>

namespace {
// Two "none" colours are equal whatever invalid values they carry.
bool sameColor(const QColor &a, const QColor &b)
{
    return a.isValid() ? a == b : !b.isValid();
}
} // namespace

HighlighterAttribute::HighlighterAttribute(const QString &name, Styles style, QObject *parent)
    : QObject(parent), m_name(name), m_style(style)
{
}

void HighlighterAttribute::setForeground(const QColor &color)
{
    if (sameColor(color, m_foreground))
        return;
    m_foreground = color;
    emit changed();
}

void HighlighterAttribute::setBackground(const QColor &color)
{
    if (sameColor(color, m_background))
        return;
    m_background = color;
    emit changed();
}

void HighlighterAttribute::setStyle(Styles style)
{
    if (style == m_style)
        return;
    m_style = style;
    emit changed();
}

QTextCharFormat HighlighterAttribute::format() const
{
    QTextCharFormat format;
    if (m_foreground.isValid())
        format.setForeground(m_foreground);
    if (m_background.isValid())
        format.setBackground(m_background);
    if (m_style.testFlag(Style::Bold))
        format.setFontWeight(QFont::Bold);
    if (m_style.testFlag(Style::Italic))
        format.setFontItalic(true);
    if (m_style.testFlag(Style::Underline))
        format.setFontUnderline(true);
    if (m_style.testFlag(Style::StrikeOut))
        format.setFontStrikeOut(true);
    return format;
}
