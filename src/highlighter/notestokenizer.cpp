#include "notestokenizer.h"

#include "keywordlist.h"

namespace {
constexpr char16_t lineFeed = 10;
constexpr char16_t carriageReturn = 13;
constexpr char16_t blank = 32;
constexpr char16_t apostrophe = u'\'';

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool isWordStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool continuesWord(QChar c)
{
    return isWordStart(c) || isDigit(c);
}

// Tab, blank and the control characters other than the two line-break characters. A NUL
// inside a line is a control character like the others; only the real end ends the line.
bool isBlankOrControl(QChar c)
{
    return c.unicode() <= blank && c.unicode() != lineFeed && c.unicode() != carriageReturn;
}
} // namespace

NotesTokenizer::NotesTokenizer(const KeywordList &keywords) : m_keywords(keywords) {}

void NotesTokenizer::setLine(const QString &line)
{
    m_line = line;
    m_position = 0;
    next();
}

void NotesTokenizer::next()
{
    m_tokenStart = m_position;
    if (m_position >= m_line.size()) {
        m_kind = TokenKind::Null;
        return;
    }
    const QChar c = m_line.at(m_position);
    if (c.unicode() == lineFeed) {
        m_kind = TokenKind::Space;
        ++m_position;
    } else if (c.unicode() == carriageReturn) {
        m_kind = TokenKind::Space;
        ++m_position;
        if (charAt(m_position).unicode() == lineFeed)
            ++m_position;
    } else if (isBlankOrControl(c)) {
        scanBlanks();
    } else if (isWordStart(c)) {
        scanWord();
    } else if (isDigit(c)) {
        scanNumber();
    } else if (c == u'$') {
        m_kind = TokenKind::Number;
        ++m_position;
        skipWhile(isHexDigit);
    } else if (c == u'#') {
        m_kind = TokenKind::String;
        ++m_position;
        skipWhile(isDigit);
    } else if (c == apostrophe) {
        scanString();
    } else if (c == u'(' || c == u'{' || c == u'/' || c == u';') {
        m_kind = TokenKind::Symbol;
        ++m_position;
    } else {
        m_kind = TokenKind::Other;
        ++m_position;
        if (c.isHighSurrogate() && charAt(m_position).isLowSurrogate())
            ++m_position;
    }
}

QChar NotesTokenizer::charAt(int index) const
{
    return index < m_line.size() ? m_line.at(index) : QChar();
}

void NotesTokenizer::scanBlanks()
{
    m_kind = TokenKind::Space;
    skipWhile(isBlankOrControl);
}

void NotesTokenizer::scanWord()
{
    skipWhile(continuesWord);
    m_kind = m_keywords.isKeyword(tokenText()) ? TokenKind::Key : TokenKind::Identifier;
}

// After the first digit: digits, "e" and "E"; a "." unless another follows (a range "1..5"
// ends the number); an "x" takes the hexadecimal digits after it and ends the number.
void NotesTokenizer::scanNumber()
{
    m_kind = TokenKind::Number;
    ++m_position;
    while (m_position < m_line.size()) {
        const QChar c = m_line.at(m_position);
        if (isDigit(c) || c == u'e' || c == u'E') {
            ++m_position;
        } else if (c == u'.' && charAt(m_position + 1) != u'.') {
            ++m_position;
        } else if (c == u'x') {
            ++m_position;
            skipWhile(isHexDigit);
            return;
        } else {
            return;
        }
    }
}

// From the apostrophe to the closing one, which belongs to the token, or to the end of the
// line. Two apostrophes right after the opening one are passed over first.
void NotesTokenizer::scanString()
{
    m_kind = TokenKind::String;
    if (charAt(m_position + 1) == apostrophe && charAt(m_position + 2) == apostrophe)
        m_position += 2;
    do {
        ++m_position;
    } while (m_position < m_line.size() && m_line.at(m_position) != apostrophe &&
             m_line.at(m_position).unicode() != lineFeed &&
             m_line.at(m_position).unicode() != carriageReturn);
    if (charAt(m_position) == apostrophe)
        ++m_position;
}

void NotesTokenizer::skipWhile(bool (*belongs)(QChar))
{
    while (m_position < m_line.size() && belongs(m_line.at(m_position)))
        ++m_position;
}
