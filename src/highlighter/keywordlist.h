#pragma once

#include <QString>
#include <QStringList>

// The highlighter's keywords: kept sorted ignoring case, an entry equal to one already there
// ignoring case is not added. A word is a keyword when its upper-case form is found by binary
// search, so letter case never matters; an entry holding anything but letters, digits and "_",
// or beginning with a digit, can never match a word.
class KeywordList
{
public:
    // Fills the list directly: entries keep their spelling, each goes to its sorted place.
    void setEntries(const QStringList &entries);
    // Replaces the list by the words changed to ASCII upper case.
    void setKeyWords(const QStringList &words);
    // Returns false when an entry equal to it ignoring case is already there.
    bool add(const QString &entry);
    void clear();

    const QStringList &entries() const { return m_entries; }
    bool isKeyword(const QString &word) const;

private:
    QStringList m_entries;
};
