#pragma once

#include <QString>

struct PageRecord;

// One line of the pages dialog's working list. Entries are matched to the main window's pages
// by their record, never by name; an entry added in the dialog has no record until the result
// is applied.
struct PageEntry
{
    QString text;
    bool checked = false; // the page is to be protected
    PageRecord *reference = nullptr;
    // The page's text, held outside its record, contains notes (see containsNotes()).
    bool notesElsewhere = false;
};
