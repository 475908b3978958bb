#include "textlines.h"

#include <algorithm>

namespace TextLines {

namespace {
constexpr QChar carriageReturn(u'\r');
constexpr QChar lineFeed(u'\n');
constexpr int breakLength = 2; // CR LF
} // namespace

QStringList split(const QString &text)
{
    QStringList lines;
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != carriageReturn && c != lineFeed) {
            ++i;
            continue;
        }
        lines.append(text.mid(lineStart, i - lineStart));
        ++i;
        if (c == carriageReturn && i < text.size() && text.at(i) == lineFeed)
            ++i;
        lineStart = i;
    }
    if (lineStart < text.size())
        lines.append(text.mid(lineStart));
    return lines;
}

QString join(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

Point pointFromOffset(const QStringList &lines, int offset)
{
    if (lines.isEmpty() || offset <= 0)
        return {};
    int lineStart = 0;
    const int lastLine = int(lines.size()) - 1;
    for (int line = 0; line < lastLine; ++line) {
        const int length = int(lines.at(line).size());
        if (offset < lineStart + length + breakLength)
            return {line, std::min(offset - lineStart, length)};
        lineStart += length + breakLength;
    }
    return {lastLine, std::min(offset - lineStart, int(lines.at(lastLine).size()))};
}

int offsetFromPoint(const QStringList &lines, Point point)
{
    if (lines.isEmpty())
        return 0;
    const int line = std::clamp(point.line, 0, int(lines.size()) - 1);
    int offset = 0;
    for (int i = 0; i < line; ++i)
        offset += int(lines.at(i).size()) + breakLength;
    return offset + std::clamp(point.column, 0, int(lines.at(line).size()));
}

} // namespace TextLines
