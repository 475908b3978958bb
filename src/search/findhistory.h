#pragma once

#include <QString>
#include <QStringList>

// The texts confirmed in the find dialog during this run, most recent first. A text that is
// already there, ignoring letter case, moves to the top in its new spelling; the oldest entry
// drops out beyond MaxEntries. Nothing of it is stored.
class FindHistory
{
public:
    static constexpr int MaxEntries = 15;

    const QStringList &entries() const { return m_entries; }

    // Puts text at the top. An empty text changes nothing.
    void add(const QString &text);

private:
    QStringList m_entries;
};
