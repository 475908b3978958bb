#pragma once

#include "notesstore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The pages of a save that finds the Notes file changed by another copy since this copy last
// read or wrote it: base (the pages as this copy last read or wrote them), mine (this copy's
// pages now) and theirs (the pages the file holds now). A page is the same page in two lists
// when it carries the same name (the n-th page of a name is the n-th page of that name), or,
// failing that, stands at the same place under a name the base does not hold there (renamed).
//  - The set of pages (names and order) is this copy's, unless only the other copy changed it:
//    then it is theirs, and this copy's text edits go onto the pages of the same name.
//  - A text one copy changed and the other did not is taken. A text both changed differently
//    stays this copy's on the page, and theirs becomes a new page "<name> (changed elsewhere)"
//    right after it, protected when either was.
//  - A page one copy deleted and the other edited is kept; a page one copy added is kept.
//  - The protected flag is merged like a text; positions go with the text they belong to.
// Texts compare as they are stored: each line without trailing blanks and control characters,
// or as a text rule the caller gives says (the same text sealed twice compares equal).
class PageMerge
{
public:
    // What a page's lines compare as.
    using TextOf = std::function<QString(const QStringList &lines)>;

    struct Result
    {
        QList<StoredPage> pages;
        // For each page of `pages`, the index of the page of mine it continues, -1 for none.
        QList<int> mineIndex;
        // The names of the pages added for texts both copies changed.
        QStringList conflictPages;
    };

    // textOf: storedText() when none is given. A text that lives outside its record is taken
    // once; the result holds every text in its record, without a stamp.
    static Result merge(const QList<StoredPage> &base, const QList<StoredPage> &mine,
                        const QList<StoredPage> &theirs, const TextOf &textOf = {});

    // The name of the page that keeps the other copy's text of a page both changed.
    static QString conflictName(const QString &name);
    // The page's text as reading it back from the file gives it.
    static QString storedText(const QStringList &lines);
};
