#pragma once

#include <QString>

class KeywordList;

// The kinds of token, in this order; Null marks the end of the line. Comment and Preprocessor
// tokens are never produced: no comment style and no preprocessor are recognised in notes.
enum class TokenKind
{
    Comment,
    Identifier,
    Key,
    Null,
    Number,
    Preprocessor,
    Space,
    String,
    Symbol,
    Other
};

// Cuts one line of notes into tokens: words (keywords or identifiers), numbers, strings in
// apostrophes, blanks and control characters, symbols and other characters. Characters above
// 255 are Other tokens, so a letter above 127 ends a word. No state passes between lines.
class NotesTokenizer
{
public:
    explicit NotesTokenizer(const KeywordList &keywords);

    // Takes the line (without line break) and scans its first token.
    void setLine(const QString &line);
    // Scans the token that starts where the current one ends.
    void next();

    bool atEndOfLine() const { return m_kind == TokenKind::Null; }
    TokenKind tokenKind() const { return m_kind; }
    int tokenStart() const { return m_tokenStart; }
    int tokenLength() const { return m_position - m_tokenStart; }
    QString tokenText() const { return m_line.mid(m_tokenStart, tokenLength()); }

private:
    QChar charAt(int index) const;
    void scanBlanks();
    void scanWord();
    void scanNumber();
    void scanString();
    void skipWhile(bool (*belongs)(QChar));

    const KeywordList &m_keywords;
    QString m_line;
    int m_position = 0;
    int m_tokenStart = 0;
    TokenKind m_kind = TokenKind::Null;
};
