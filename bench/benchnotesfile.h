#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Writes a Notes file of the given page texts, the pages named "Page 1", "Page 2", ... with the
// caret on their first line. Ends the benchmark when the file cannot be written.
void writeBenchNotesFile(const QString &path, const QList<QStringList> &pages);

// The benchmarks' page text: lineCount lines of a page, each with a user name, a password and a
// web address, so the highlighting has keywords and numbers to colour.
QStringList benchPageLines(int page, int lineCount);

// How long work takes, in milliseconds.
double millisecondsOf(const std::function<void()> &work);

// The median of rounds measurements.
double medianOf(int rounds, const std::function<double()> &measure);
