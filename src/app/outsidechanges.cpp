#include "outsidechanges.h"

#include "notes/pagemerge.h"
#include "notes/pagerecord.h"
#include "pages/pagelistops.h"

#include <algorithm>
#include <numeric>
#include <vector>

int OutsideChanges::apply(const NotesStore::OutsideChange &change, PageListOps &pages, int current,
                          int keepText, const TextReplacer &replaceText)
{
    const int count = pages.count();
    const auto continued = [&change, count](int index) {
        return index >= 0 && index < count && change.writtenIndex.contains(index);
    };
    // The page each tab holds: its index before the change, or count + the new page's index.
    std::vector<int> held(static_cast<std::size_t>(count));
    std::iota(held.begin(), held.end(), 0);
    for (int index = count - 1; index >= 0; --index) {
        if (!continued(index)) {
            pages.deletePage(index);
            held.erase(held.begin() + index);
        }
    }
    int currentNow = -1;
    for (int i = 0; i < change.pages.size(); ++i) {
        const StoredPage &stored = change.pages[i];
        const int before = i < change.writtenIndex.size() ? change.writtenIndex[i] : -1;
        const int page = continued(before) ? before : count + i;
        auto at = std::find(held.begin(), held.end(), page);
        if (at == held.end()) {
            pages.addPage(stored.name, stored.record.isProtected);
            held.push_back(page);
            at = held.end() - 1;
        }
        const int from = static_cast<int>(at - held.begin());
        if (from != i) {
            pages.movePage(from, i);
            held.erase(held.begin() + from);
            held.insert(held.begin() + i, page);
        }
        if (pages.name(i) != stored.name)
            pages.setName(i, stored.name);
        if (pages.record(i)->isProtected != stored.record.isProtected)
            pages.setProtected(i, stored.record.isProtected);
        const bool editInProgress = keepText >= 0 && before == keepText;
        if (!editInProgress && PageMerge::storedText(pages.lines(i)) !=
                                   PageMerge::storedText(stored.record.lines))
            replaceText(i, stored.record.lines);
        if (before == current && current >= 0)
            currentNow = i;
    }
    return currentNow;
}

QString OutsideChanges::conflictNotice(const QStringList &conflictPages)
{
    if (conflictPages.isEmpty())
        return {};
    return QStringLiteral("Changed by another copy too, its text is kept on: %1")
        .arg(conflictPages.join(QStringLiteral(", ")));
}
