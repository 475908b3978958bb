#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTextCharFormat>

// How one kind of token is drawn: a foreground and a background colour, each possibly "none"
// (an invalid QColor: the editor's own colour), and a font style.
class HighlighterAttribute : public QObject
{
    Q_OBJECT

public:
    enum class Style
    {
        Bold = 0x1,
        Italic = 0x2,
        Underline = 0x4,
        StrikeOut = 0x8
    };
    Q_DECLARE_FLAGS(Styles, Style)

    HighlighterAttribute(const QString &name, Styles style, QObject *parent = nullptr);

    QString name() const { return m_name; }
    QColor foreground() const { return m_foreground; }
    QColor background() const { return m_background; }
    Styles style() const { return m_style; }

    // Each setter stores a value that differs from the current one and then reports the change.
    void setForeground(const QColor &color);
    void setBackground(const QColor &color);
    void setStyle(Styles style);

    // The format tokens are drawn with; what is "none" or not in the style stays unset.
    QTextCharFormat format() const;

signals:
    void changed();

private:
    QString m_name;
    QColor m_foreground;
    QColor m_background;
    Styles m_style;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(HighlighterAttribute::Styles)
