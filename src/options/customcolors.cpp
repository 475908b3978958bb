#include "customcolors.h"

#include <QRegularExpression>
#include <QStringList>

namespace CustomColors {

namespace {

QColor fromWindowsValue(uint value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

uint toWindowsValue(const QColor &color)
{
    return uint(color.red()) | uint(color.green()) << 8 | uint(color.blue()) << 16;
}

} // namespace

Colors decode(const QString &text)
{
    static const QRegularExpression line(QStringLiteral("^Color([A-P])=([0-9A-F]{1,6})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    Colors colors;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &entry : lines) {
        const QRegularExpressionMatch match = line.match(entry);
        if (!match.hasMatch())
            continue;
        const int index = match.captured(1).toUpper().at(0).unicode() - 'A';
        if (!colors[index].isValid())
            colors[index] = fromWindowsValue(match.captured(2).toUInt(nullptr, 16));
    }
    return colors;
}

QString encode(const Colors &colors)
{
    QStringList lines;
    for (int i = 0; i < Count; ++i) {
        if (!colors[i].isValid())
            continue;
        const QString value =
            QStringLiteral("%1").arg(toWindowsValue(colors[i]), 6, 16, QLatin1Char('0'));
        lines << QStringLiteral("Color") + QChar(u'A' + i) + QLatin1Char('=') + value.toUpper();
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace CustomColors
