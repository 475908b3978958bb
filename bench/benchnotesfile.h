#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Writes a Notes file of the given page texts, the pages named "Page 1", "Page 2", ... with the
// caret on their first line. Ends the benchmark when the file cannot be written.
void writeBenchNotesFile(const QString &path, const QList<QStringList> &pages);
