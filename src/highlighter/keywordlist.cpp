#include "keywordlist.h"

#include <algorithm>

namespace {
int compareIgnoringCase(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

// Only "a" to "z" change.
QString toAsciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return upper;
}
} // namespace

void KeywordList::setEntries(const QStringList &entries)
{
    clear();
    for (const QString &entry : entries)
        add(entry);
}

void KeywordList::setKeyWords(const QStringList &words)
{
    clear();
    for (const QString &word : words)
        add(toAsciiUpper(word));
}

bool KeywordList::add(const QString &entry)
{
    const auto place = std::lower_bound(
        m_entries.begin(), m_entries.end(), entry,
        [](const QString &a, const QString &b) { return compareIgnoringCase(a, b) < 0; });
    if (place != m_entries.end() && compareIgnoringCase(*place, entry) == 0)
        return false;
    m_entries.insert(place, entry);
    return true;
}

void KeywordList::clear()
{
    m_entries.clear();
}

bool KeywordList::isKeyword(const QString &word) const
{
    const QString key = toAsciiUpper(word);
    qsizetype low = 0;
    qsizetype high = m_entries.size() - 1;
    while (low <= high) {
        const qsizetype middle = (low + high) / 2;
        const int order = compareIgnoringCase(m_entries.at(middle), key);
        if (order == 0)
            return true;
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return false;
}
