#include "benchnotesfile.h"

#include "notes/notesstore.h"

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

void writeBenchNotesFile(const QString &path, const QList<QStringList> &pages)
{
    QList<StoredPage> stored;
    stored.reserve(pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        StoredPage page{QStringLiteral("Page %1").arg(i + 1), {}};
        page.record.lines = pages.at(i);
        page.record.caretX = 1;
        page.record.caretY = 1;
        page.record.topLine = 1;
        stored.append(page);
    }
    NotesStore store(nullptr);
    store.setFileName(path);
    NotesSettings settings;
    if (!store.write(settings, stored, false))
        qFatal("cannot write the Notes file: %s", qPrintable(store.lastError()));
}

QStringList benchPageLines(int page, int lineCount)
{
    QStringList lines;
    lines.reserve(lineCount);
    for (int line = 0; line < lineCount; ++line)
        lines << QStringLiteral("Line %1 of page %2: user name, PW 12345, www.example.org")
                     .arg(line)
                     .arg(page);
    return lines;
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double medianOf(int rounds, const std::function<double()> &measure)
{
    std::vector<double> values;
    for (int round = 0; round < rounds; ++round)
        values.push_back(measure());
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
