#include "benchnotesfile.h"

#include "notes/notesstore.h"

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
