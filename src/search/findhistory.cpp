#include "findhistory.h"

void FindHistory::add(const QString &text)
{
    if (text.isEmpty())
        return;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).compare(text, Qt::CaseInsensitive) == 0) {
            m_entries.removeAt(i);
            break;
        }
    }
    m_entries.prepend(text);
    while (m_entries.size() > MaxEntries)
        m_entries.removeLast();
}
