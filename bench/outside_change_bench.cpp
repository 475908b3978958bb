// A save of the notes after one keystroke, on a Notes file of 100 pages of 2,000 lines, when
// another copy of the program changed one page of the file since this copy last read or wrote
// it (the file is loaded again and the pages merged three ways), beside the same save when no
// other copy changed the file (the peer: merged into the content this copy knows, no load).
// Prints the medians and their ratio, and the time the check at every show of the window takes
// on the unchanged file (whether another copy changed it).
#include "benchnotesfile.h"
#include "notes/notesstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int PageCount = 100;
constexpr int LinesPerPage = 2000;
constexpr int Rounds = 7;

// One copy of the program: its store, settings and pages.
struct Copy
{
    explicit Copy(const QString &path)
    {
        store.setFileName(path);
        if (!store.read(settings, pages))
            qFatal("cannot read the Notes file");
    }
    void save()
    {
        if (!store.write(settings, pages, true))
            qFatal("cannot write the Notes file: %s", qPrintable(store.lastError()));
        // The window shows what the merge left.
        if (const auto &change = store.lastOutsideChange())
            pages = change->pages;
    }

    NotesStore store{nullptr};
    NotesSettings settings;
    QList<StoredPage> pages;
};

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// The time of this copy's save after a keystroke on its first page, in milliseconds.
double timedKeystrokeSave(Copy &mine, int round)
{
    mine.pages[0].record.lines[0].append(QChar(u'a' + round % 26));
    QElapsedTimer timer;
    timer.start();
    mine.save();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillbox.ini"));
    QList<QStringList> texts(PageCount);
    for (int i = 0; i < PageCount; ++i) {
        for (int line = 0; line < LinesPerPage; ++line)
            texts[i].append(
                QStringLiteral("Line %1 of page %2: user name, PW 12345").arg(line).arg(i));
    }
    writeBenchNotesFile(path, texts);

    Copy mine(path);
    std::vector<double> unchanged;
    std::vector<double> changed;
    for (int round = 0; round < Rounds; ++round) {
        unchanged.push_back(timedKeystrokeSave(mine, round));
        Copy other(path);
        other.pages[PageCount / 2].record.lines[1].append(QChar(u'A' + round % 26));
        other.save();
        changed.push_back(timedKeystrokeSave(mine, round));
        if (!mine.store.lastOutsideChange() ||
            mine.pages[PageCount / 2].record.lines[1] != other.pages[PageCount / 2].record.lines[1])
            qFatal("the other copy's change was not merged");
    }
    std::vector<double> checks;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (mine.store.takeOutsideChange(mine.settings, mine.pages))
            qFatal("an unchanged file was taken for a changed one");
        checks.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const double peer = median(unchanged);
    const double ours = median(changed);
    std::printf("save after one keystroke, %d pages of %d lines (median of %d):\n", PageCount,
                LinesPerPage, Rounds);
    std::printf("  file unchanged since this copy's last save:   %9.1f ms\n", peer);
    std::printf("  one page changed by another copy meanwhile:   %9.1f ms\n", ours);
    std::printf("ratio changed / unchanged: %.2f\n", ours / peer);
    std::printf("check at show, file unchanged (median of %d): %9.3f ms\n", Rounds,
                median(checks));
    return 0;
}
