// Find across pages against QString::indexOf(Qt::CaseInsensitive) over the same page texts:
// 100 pages of 2,000 lines, the text occurring only on the last page, the search starting at
// the caret on the first page. Prints both times and their ratio (ours / peer).
#include "search/pagesearch.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int PageCount = 100;
constexpr int LinesPerPage = 2000;
constexpr int Rounds = 15;

QStringList makePages(const QString &needle)
{
    QStringList pages;
    for (int page = 0; page < PageCount; ++page) {
        QStringList lines;
        for (int line = 0; line < LinesPerPage; ++line)
            lines << QStringLiteral("Line %1 of page %2: user name, PW 12345, www.example.org")
                         .arg(line)
                         .arg(page);
        if (page == PageCount - 1)
            lines[LinesPerPage - 500] += QLatin1Char(' ') + needle;
        pages << PageSearch::pageText(lines);
    }
    return pages;
}

template <typename Search> qint64 bestOf(Search search)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        search();
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

bool run(const QString &needle, const char *label)
{
    const QStringList pages = makePages(needle);
    const QString typed = needle.toLower();
    const auto unlocked = [](int) { return false; };

    PageSearch::Result ours;
    const qint64 oursNs =
        bestOf([&] { ours = PageSearch::searchPages(pages, 0, 0, typed, unlocked); });

    int peerPage = -1;
    qsizetype peerOffset = -1;
    const qint64 peerNs = bestOf([&] {
        peerPage = -1;
        for (int page = 0; page < PageCount && peerPage < 0; ++page) {
            const qsizetype at =
                pages.at(page).indexOf(typed, page == 0 ? 1 : 0, Qt::CaseInsensitive);
            if (at >= 0) {
                peerPage = page;
                peerOffset = at;
            }
        }
    });

    if (!ours.found || ours.page != peerPage || ours.selStart != peerOffset) {
        std::printf("%s: results differ (ours page %d offset %d, peer page %d offset %lld)\n",
                    label, ours.page, ours.selStart, peerPage, static_cast<long long>(peerOffset));
        return false;
    }
    const double ratio = double(oursNs) / double(peerNs);
    std::printf("%s (\"%s\", %d pages x %d lines, %lld characters)\n", label, qPrintable(typed),
                PageCount, LinesPerPage,
                static_cast<long long>(pages.size() * pages.first().size()));
    std::printf("  searchPages:        %9.3f ms\n", double(oursNs) / 1e6);
    std::printf("  QString::indexOf:   %9.3f ms\n", double(peerNs) / 1e6);
    std::printf("  ratio ours / peer:  %9.3f  (bar: at most 2)\n", ratio);
    return true;
}

} // namespace

int main()
{
    bool same = run(QStringLiteral("Tax Receipt 2024"), "text on the last page");
    same = run(QStringLiteral("Zq"), "two-character text on the last page") && same;
    return same ? 0 : 1;
}
