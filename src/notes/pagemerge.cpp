#include "pagemerge.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));

QStringList namesOf(const QList<StoredPage> &pages)
{
    QStringList names;
    for (const StoredPage &page : pages)
        names.append(page.name);
    return names;
}

// For each page of `pages`, the index of the same page in base, -1 for a page base does not
// hold: the n-th page of a name is the n-th page of that name in base; a page left over takes
// the base page at its own place when that one is left over too (a page renamed in place).
QList<int> matchToBase(const QList<StoredPage> &base, const QList<StoredPage> &pages)
{
    QHash<QString, QList<int>> baseByName;
    for (int b = 0; b < base.size(); ++b)
        baseByName[base[b].name].append(b);
    QList<int> match(pages.size(), -1);
    QList<bool> taken(base.size(), false);
    QHash<QString, int> used;
    for (int p = 0; p < pages.size(); ++p) {
        const auto same = baseByName.constFind(pages[p].name);
        int &count = used[pages[p].name];
        if (same != baseByName.constEnd() && count < same->size()) {
            match[p] = same->at(count++);
            taken[match[p]] = true;
        }
    }
    for (int p = 0; p < pages.size() && p < base.size(); ++p) {
        if (match[p] < 0 && !taken[p]) {
            match[p] = p;
            taken[p] = true;
        }
    }
    return match;
}

QList<StoredPage> withLines(const QList<StoredPage> &pages)
{
    QList<StoredPage> result;
    result.reserve(pages.size());
    for (const StoredPage &page : pages)
        result.append(page.withLines());
    return result;
}

QList<int> inverse(const QList<int> &match, qsizetype size)
{
    QList<int> result(size, -1);
    for (int i = 0; i < match.size(); ++i) {
        if (match[i] >= 0)
            result[match[i]] = i;
    }
    return result;
}

// One place of the result: a page and the page of mine it continues.
struct Slot
{
    StoredPage page;
    int mineIndex = -1;
};

// The merge of one save; the owner's pages give the set of pages, the other's edits go onto
// them.
class Merger
{
public:
    Merger(const QList<StoredPage> &base, const QList<StoredPage> &mine,
           const QList<StoredPage> &theirs, PageMerge::TextOf textOf)
        : m_textOf(textOf ? std::move(textOf) : PageMerge::TextOf(&PageMerge::storedText)),
          m_base(base),
          m_theirsOwnSet(namesOf(theirs) != namesOf(base) && namesOf(mine) == namesOf(base)),
          m_owner(m_theirsOwnSet ? theirs : mine), m_other(m_theirsOwnSet ? mine : theirs)
    {
        const QList<int> ownerToBase = matchToBase(base, m_owner);
        m_otherToBase = matchToBase(base, m_other);
        m_baseToOwner = inverse(ownerToBase, base.size());
        const QList<int> baseToMine =
            inverse(m_theirsOwnSet ? m_otherToBase : ownerToBase, base.size());
        m_ownerAdded.resize(m_owner.size());
        for (int s = 0; s < m_owner.size(); ++s) {
            int mineIndex = s;
            if (m_theirsOwnSet)
                mineIndex = ownerToBase[s] >= 0 ? baseToMine[ownerToBase[s]] : -1;
            m_slots.append({m_owner[s], mineIndex});
            m_ownerAdded[s] = ownerToBase[s] < 0;
        }
        m_after.resize(m_owner.size());
    }

    PageMerge::Result run()
    {
        // Where each page of the other copy went: a slot of the owner, or -1 for the front.
        QList<int> otherSlot(m_other.size(), -1);
        for (int o = 0; o < m_other.size(); ++o) {
            const int b = m_otherToBase[o];
            const int s = b >= 0 ? m_baseToOwner[b] : addedByBoth(o);
            if (s >= 0) {
                mergePage(s, o, b >= 0 ? &m_base[b] : nullptr);
                otherSlot[o] = s;
                continue;
            }
            const int anchor = o > 0 ? otherSlot[o - 1] : -1;
            otherSlot[o] = anchor;
            const bool unchanged =
                b >= 0 && m_textOf(m_other[o].record.lines) == m_textOf(m_base[b].record.lines);
            if (!unchanged)
                (anchor >= 0 ? m_after[anchor] : m_front).append({m_other[o], mineIndexOfOther(o)});
        }
        PageMerge::Result result;
        result.conflictPages = m_conflicts;
        const auto add = [&result](const Slot &slot) {
            result.pages.append(slot.page);
            result.mineIndex.append(slot.mineIndex);
        };
        for (const Slot &slot : m_front)
            add(slot);
        for (int s = 0; s < m_slots.size(); ++s) {
            add(m_slots[s]);
            for (const Slot &slot : m_after[s])
                add(slot);
        }
        return result;
    }

private:
    // A page both copies added under one name: the owner's page of that name that base does
    // not hold and no other page took.
    int addedByBoth(int o)
    {
        for (int s = 0; s < m_owner.size(); ++s) {
            if (m_ownerAdded[s] && m_owner[s].name == m_other[o].name) {
                m_ownerAdded[s] = false;
                return s;
            }
        }
        return -1;
    }

    int mineIndexOfOther(int o) const { return m_theirsOwnSet ? o : -1; }

    void mergePage(int s, int o, const StoredPage *basePage)
    {
        const StoredPage &own = m_owner[s];
        const StoredPage &other = m_other[o];
        const QString baseText = basePage ? m_textOf(basePage->record.lines) : QString();
        const QString ownText = m_textOf(own.record.lines);
        const QString otherText = m_textOf(other.record.lines);
        Slot &slot = m_slots[s];
        if (m_theirsOwnSet)
            slot.mineIndex = o;
        if (otherText != baseText && otherText != ownText) {
            if (ownText == baseText) {
                slot.page.record = other.record;
            } else {
                const StoredPage &mine = m_theirsOwnSet ? other : own;
                const StoredPage &theirs = m_theirsOwnSet ? own : other;
                slot.page.record = mine.record;
                StoredPage kept{PageMerge::conflictName(slot.page.name), theirs.record};
                kept.record.isProtected = mine.record.isProtected || theirs.record.isProtected;
                m_after[s].prepend({kept, -1});
                m_conflicts.append(kept.name);
            }
        }
        const bool baseProtected = basePage && basePage->record.isProtected;
        slot.page.record.isProtected = own.record.isProtected == baseProtected
                                           ? other.record.isProtected
                                           : own.record.isProtected;
    }

    const PageMerge::TextOf m_textOf;
    const QList<StoredPage> &m_base;
    const bool m_theirsOwnSet;
    const QList<StoredPage> &m_owner;
    const QList<StoredPage> &m_other;
    QList<int> m_otherToBase;
    QList<int> m_baseToOwner;
    QList<bool> m_ownerAdded;
    QList<Slot> m_slots;
    QList<QList<Slot>> m_after;
    QList<Slot> m_front;
    QStringList m_conflicts;
};

} // namespace

PageMerge::Result PageMerge::merge(const QList<StoredPage> &base, const QList<StoredPage> &mine,
                                   const QList<StoredPage> &theirs, const TextOf &textOf)
{
    // Texts that live outside their records are taken once, here: the result holds lines.
    const QList<StoredPage> mineLines = withLines(mine);
    const QList<StoredPage> baseLines = &base == &mine ? mineLines : withLines(base);
    return Merger(baseLines, mineLines, withLines(theirs), textOf).run();
}

QString PageMerge::conflictName(const QString &name)
{
    return name + QStringLiteral(" (changed elsewhere)");
}

QString PageMerge::storedText(const QStringList &lines)
{
    QStringList stored;
    for (const QString &line : lines) {
        for (QString part : line.split(lineBreak)) {
            qsizetype end = part.size();
            while (end > 0 && part.at(end - 1).unicode() <= ' ')
                --end;
            part.truncate(end);
            stored.append(part);
        }
    }
    return stored.join(QLatin1Char('\n'));
}
