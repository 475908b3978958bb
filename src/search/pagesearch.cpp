#include "pagesearch.h"

#include "asciicaselessmatcher.h"

#include <algorithm>
#include <limits>

namespace PageSearch {

QString pageText(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

Result searchPages(const QStringList &pageTexts, int currentPage, int selStart,
                   const QString &searchText, const std::function<bool(int)> &isLocked)
{
    Result result;
    const int pageCount = static_cast<int>(pageTexts.size());
    const AsciiCaselessMatcher matcher(searchText);
    if (pageCount == 0 || matcher.length() == 0)
        return result;

    const int startPage = currentPage >= 0 && currentPage < pageCount ? currentPage : 0;
    const qsizetype start = std::max(selStart, 0);
    qsizetype from = start + 1; // 0-based: one character after the selection start
    qsizetype limit = std::numeric_limits<qsizetype>::max();
    int page = startPage;

    // The start page from just after the selection start, every other page whole, and the
    // start page again from its beginning: pageCount + 1 visits.
    for (int visit = 1; visit <= pageCount + 1; ++visit) {
        const bool closingVisit = visit == pageCount + 1;
        if (isLocked(page)) {
            if (!closingVisit)
                ++result.lockedSkipped;
        } else {
            const QString &text = pageTexts.at(page);
            if (from < text.size()) {
                const qsizetype found = matcher.indexIn(
                    QStringView(text).sliced(from, std::min(limit, text.size() - from)));
                if (found >= 0) {
                    result.found = true;
                    result.page = page;
                    result.selStart = static_cast<int>(from + found);
                    result.selLength = static_cast<int>(matcher.length());
                    return result;
                }
            }
        }
        page = page + 1 < pageCount ? page + 1 : 0;
        from = 0;
        if (page == startPage) // the closing visit covers the occurrences that begin at or
            limit = start + matcher.length() + 1; // before the first visit's start
    }
    return result;
}

QString notFoundMessage(const QString &searchText, int lockedSkipped)
{
    QString message = searchText + QStringLiteral(" not found");
    if (lockedSkipped > 0)
        message += QLatin1Char('\r') + QString::number(lockedSkipped) +
                   QStringLiteral(" Protected Pages not searched");
    return message;
}

} // namespace PageSearch
