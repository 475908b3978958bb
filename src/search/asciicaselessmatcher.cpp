#include "asciicaselessmatcher.h"

AsciiCaselessMatcher::AsciiCaselessMatcher(QStringView needle)
{
    m_needle.resize(needle.size());
    for (qsizetype i = 0; i < needle.size(); ++i)
        m_needle[i] = QChar(toUpper(needle[i].unicode()));

    // Characters of 256 and above share buckets with others; a shared bucket keeps the
    // smallest shift of its members, which is always safe.
    const qsizetype length = m_needle.size();
    m_shift.fill(length);
    for (qsizetype i = 0; i + 1 < length; ++i)
        m_shift[bucket(m_needle[i].unicode())] = length - 1 - i;
}

qsizetype AsciiCaselessMatcher::indexIn(QStringView haystack) const
{
    const qsizetype length = m_needle.size();
    if (length == 0 || haystack.size() < length)
        return -1;

    const auto *text = reinterpret_cast<const char16_t *>(haystack.utf16());
    const auto *needle = reinterpret_cast<const char16_t *>(m_needle.utf16());
    const qsizetype last = length - 1;
    const char16_t lastChar = needle[last];
    const qsizetype end = haystack.size() - length;

    for (qsizetype pos = 0; pos <= end;) {
        const char16_t c = text[pos + last];
        if (toUpper(c) == lastChar) {
            qsizetype i = 0;
            while (i < last && toUpper(text[pos + i]) == needle[i])
                ++i;
            if (i == last)
                return pos;
        }
        pos += m_shift[bucket(c)];
    }
    return -1;
}
