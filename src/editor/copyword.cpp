#include "copyword.h"

#include <algorithm>

namespace {
bool isSeparator(QChar c)
{
    return c == u' ' || c == u'\r' || c == u'\n';
}
} // namespace

WordRange copyWordRange(const QString &joinedText, int selStart)
{
    const int size = int(joinedText.size());
    int start = std::clamp(selStart, 0, size);
    while (start > 0 && !isSeparator(joinedText.at(start - 1)))
        --start;
    int end = start;
    while (end < size && !isSeparator(joinedText.at(end)))
        ++end;
    return {start, end - start};
}
