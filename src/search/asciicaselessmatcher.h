#pragma once

#include <QString>
#include <QStringView>
#include <array>

// Finds a text in another while ignoring the case of the ASCII letters only: "a" to "z" match
// "A" to "Z", every other character matches only itself. The needle is prepared once and can
// then be looked for in many texts (Boyer-Moore-Horspool on the folded characters).
class AsciiCaselessMatcher
{
public:
    explicit AsciiCaselessMatcher(QStringView needle);

    qsizetype length() const { return m_needle.size(); }

    // 0-based position of the first occurrence in haystack, -1 when there is none or the
    // needle is empty.
    qsizetype indexIn(QStringView haystack) const;

    static char16_t toUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; }

private:
    static unsigned char bucket(char16_t c)
    {
        return static_cast<unsigned char>(c < 256 ? toUpper(c) : c & 0xFF);
    }

    QString m_needle; // in ASCII upper case
    std::array<qsizetype, 256> m_shift{};
};
