#pragma once

#include "notes/notesstore.h"

#include <QString>
#include <QStringList>

// What a Notes file holds, read back through the program's own store, for the store's tests.
namespace StoredPagesText {

// The pages a store reading the file finds.
inline QList<StoredPage> readBack(const QString &path)
{
    NotesStore reader(nullptr);
    reader.setFileName(path);
    NotesSettings settings;
    QList<StoredPage> pages;
    reader.read(settings, pages);
    return pages;
}

// Each page as "name=line|line|…", in order.
inline QStringList pageTexts(const QList<StoredPage> &pages)
{
    QStringList texts;
    for (const StoredPage &page : pages)
        texts.append(page.name + u'=' + page.record.lines.join(u'|'));
    return texts;
}

} // namespace StoredPagesText
