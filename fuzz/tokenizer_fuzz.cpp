// libFuzzer target for the highlighter's tokenizer. The bytes are cut into lines at line
// feeds, and each line is read as UTF-8, as Latin-1 and as UTF-16 code units (lone surrogates
// and NULs included); the whole input is also one line, line breaks and all. For every line:
//  - the tokens follow one another without a gap, each at least one character long, and the
//    last ends at the end of the line, where the end-of-line token stands and stays;
//  - no line takes more tokens than it has characters (every next() moves on);
//  - a word token is a keyword token exactly when the keyword list holds the word.

#include "highlighter/keywordlist.h"
#include "highlighter/notestokenizer.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "tokenizer_fuzz: %s\n", what);
    std::abort();
}

const KeywordList &defaultKeywords()
{
    static const KeywordList keywords = [] {
        KeywordList list;
        list.setKeyWords({"HTTP", "PASSWORD", "PW", "PWD", "UN", "USER", "USERNAME", "WWW"});
        return list;
    }();
    return keywords;
}

void checkLine(NotesTokenizer &tokenizer, const KeywordList &keywords, const QString &line)
{
    tokenizer.setLine(line);
    int end = 0;
    int tokens = 0;
    while (!tokenizer.atEndOfLine()) {
        require(tokenizer.tokenStart() == end, "a token does not start where the last one ended");
        require(tokenizer.tokenLength() > 0, "a token is empty");
        require(++tokens <= line.size(), "more tokens than characters");
        end += tokenizer.tokenLength();
        require(end <= line.size(), "a token runs past the end of the line");
        const TokenKind kind = tokenizer.tokenKind();
        require(kind != TokenKind::Comment && kind != TokenKind::Preprocessor,
                "a comment or preprocessor token");
        if (kind == TokenKind::Key || kind == TokenKind::Identifier)
            require(keywords.isKeyword(tokenizer.tokenText()) == (kind == TokenKind::Key),
                    "a word is taken for a keyword or a keyword for a word");
        tokenizer.next();
    }
    require(end == line.size(), "the tokens end before the end of the line");
    require(tokenizer.tokenStart() == line.size() && tokenizer.tokenLength() == 0,
            "the end-of-line token is not at the end of the line");
    tokenizer.next();
    require(tokenizer.atEndOfLine() && tokenizer.tokenStart() == line.size(),
            "the end of the line does not stay");
}

QString fromUtf16Units(std::string_view bytes)
{
    QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    if (!text.isEmpty())
        std::memcpy(text.data(), bytes.data(), std::size_t(text.size()) * sizeof(QChar));
    return text;
}

void checkBytes(NotesTokenizer &tokenizer, const KeywordList &keywords, std::string_view bytes)
{
    const QByteArray raw(bytes.data(), qsizetype(bytes.size()));
    checkLine(tokenizer, keywords, QString::fromUtf8(raw));
    checkLine(tokenizer, keywords, QString::fromLatin1(raw));
    checkLine(tokenizer, keywords, fromUtf16Units(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    // The default keywords, and a list whose entries are the first line's blank-separated
    // words as the options dialog would store them.
    const std::string_view first = input.substr(0, input.find('\n'));
    KeywordList ownKeywords;
    ownKeywords.setEntries(QString::fromUtf8(first.data(), qsizetype(first.size()))
                               .split(u' ', Qt::SkipEmptyParts));
    const KeywordList &own = ownKeywords;
    for (const KeywordList *keywords : {&defaultKeywords(), &own}) {
        NotesTokenizer tokenizer(*keywords);
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = input.find('\n', start);
            checkBytes(tokenizer, *keywords, input.substr(start, end - start));
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        checkBytes(tokenizer, *keywords, input);
    }
    return 0;
}
