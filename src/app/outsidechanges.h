#pragma once

#include "notes/notesstore.h"

#include <QString>
#include <QStringList>
#include <functional>

class PageListOps;

// Brings the notes window's pages to what the Notes file holds after another copy of the
// program changed it: after a save that merged the other copy's changes, or when the window
// is shown again over a file changed since this copy last read or wrote it. Each page keeps
// its record (and with it the editor's history) when it continues a page of this copy; only a
// page whose stored text differs from its record's gets the stored text.
class OutsideChanges
{
public:
    // Gives the page at index the text the file holds for it.
    using TextReplacer = std::function<void(int index, const QStringList &lines)>;

    // Makes pages hold change.pages in their order. keepText: the index of a page whose text
    // is not to be replaced (an edit in progress), -1 for none. Returns the index that the
    // page at `current` has now, -1 when it is gone.
    static int apply(const NotesStore::OutsideChange &change, PageListOps &pages, int current,
                     int keepText, const TextReplacer &replaceText);

    // What the user is told once about pages added for texts both copies changed; empty when
    // there are none.
    static QString conflictNotice(const QStringList &conflictPages);
};
