#pragma once

#include "pageentry.h"

#include <QList>
#include <QStringList>

class PageListOps;

// True when the text, trimmed of characters of code 32 or below, is not empty.
bool containsNotes(const QStringList &lines);

// The working list the pages dialog opens with: every tab in tab order with its name, its
// record and the record's protected flag as check mark, and whether its text contains notes
// when its record does not hold the text.
QList<PageEntry> pageEntries(const PageListOps &pages);

// Makes the pages match a confirmed working list: pages whose record no entry refers to are
// deleted (last to first), entries without a record get a new page (in list order) and take its
// record, then every page gets its entry's name, check mark and place.
void applyPagesResult(PageListOps &pages, QList<PageEntry> &entries);
