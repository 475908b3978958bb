// How the notes window's start-up grows with the number of pages: start-up until the first
// page shows, from Notes files of 100, 1,000 and 10,000 pages of 10 lines each. The peer of the
// largest file is the file ten times smaller: ten times the pages may take at most ten times
// as long (start-up grows linearly, not with the square of the pages).
#include "app/mainwindow.h"
#include "benchnotesfile.h"
#include "editor/noteeditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int LinesPerPage = 10;
constexpr int Rounds = 3;

void writeNotesFile(const QString &path, int pageCount)
{
    QList<QStringList> pages(pageCount);
    for (int i = 0; i < pageCount; ++i) {
        for (int line = 0; line < LinesPerPage; ++line)
            pages[i].append(
                QStringLiteral("Line %1 of page %2: user name, PW 12345").arg(line).arg(i));
    }
    writeBenchNotesFile(path, pages);
}

// Start-up until the first page shows, in milliseconds (the median of the rounds).
double startUpMs(const QString &path, int pageCount)
{
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        {
            MainWindow window(path);
            window.setHotKeyStartUp([] {}); // without one the options dialog would open
            window.startUp(false);
            QCoreApplication::processEvents();
            if (window.pageCount() != pageCount || window.editor()->blockCount() != LinesPerPage)
                qFatal("the first page is not shown");
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QTemporaryDir dir;

    std::map<int, double> times;
    for (const int pageCount : {100, 1000, 10000}) {
        const QString path = dir.filePath(QStringLiteral("pages%1.ini").arg(pageCount));
        writeNotesFile(path, pageCount);
        times[pageCount] = startUpMs(path, pageCount);
        std::printf("start-up to the first page, %5d pages of %d lines: %9.1f ms\n", pageCount,
                    LinesPerPage, times[pageCount]);
        std::fflush(stdout);
    }
    const double ratio = times[10000] / times[1000];
    std::printf("ratio 10,000 pages / 1,000 pages: %.2f\n", ratio);
    const bool met = ratio <= 10.0;
    std::printf("\nbar: 10,000 pages within 10x the time of 1,000: %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
