#include "pagesresult.h"

#include "notes/pagerecord.h"
#include "pagelistops.h"

#include <algorithm>

namespace {
bool isReferenced(const QList<PageEntry> &entries, const PageRecord *record)
{
    return record && std::any_of(entries.cbegin(), entries.cend(),
                                 [record](const PageEntry &e) { return e.reference == record; });
}

int indexOf(const PageListOps &pages, const PageRecord *record)
{
    for (int k = 0; k < pages.count(); ++k) {
        if (pages.record(k) == record)
            return k;
    }
    return -1;
}
} // namespace

bool containsNotes(const QStringList &lines)
{
    return std::any_of(lines.cbegin(), lines.cend(), [](const QString &line) {
        return std::any_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() > 32; });
    });
}

QList<PageEntry> pageEntries(const PageListOps &pages)
{
    QList<PageEntry> entries;
    for (int i = 0; i < pages.count(); ++i) {
        PageRecord *record = pages.record(i);
        const bool elsewhere = record && record->lines.isEmpty() && containsNotes(pages.lines(i));
        entries.append({pages.name(i), record && record->isProtected, record, elsewhere});
    }
    return entries;
}

void applyPagesResult(PageListOps &pages, QList<PageEntry> &entries)
{
    for (int i = pages.count() - 1; i >= 0; --i) {
        if (!isReferenced(entries, pages.record(i)))
            pages.deletePage(i);
    }
    for (PageEntry &entry : entries) {
        if (!entry.reference)
            entry.reference = pages.addPage(entry.text, entry.checked);
    }
    for (int j = 0; j < entries.size(); ++j) {
        const PageEntry &entry = entries.at(j);
        const int k = indexOf(pages, entry.reference);
        if (k < 0)
            continue;
        pages.setName(k, entry.text);
        pages.setProtected(k, entry.checked);
        if (k != j)
            pages.movePage(k, j);
    }
}
