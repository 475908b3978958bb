// libFuzzer target for the page cipher. The bytes are cut into lines at line feeds and read as
// UTF-8: the lines of a page as the Notes file hands them over. With one fixed key:
//  - opening them must not crash, and what opens must seal and open again to the same lines;
//  - the first line read as stored key-derivation limits is either refused or written back
//    exactly as it was, and read as a check value it must not crash;
//  - the lines sealed are printable ASCII page lines, recognised as sealed, and open to the
//    same lines; with one character of them changed they open to nothing.

#include "crypt/pagecipher.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "pagecipher_fuzz: %s\n", what);
    std::abort();
}

const CryptKey &fixedKey()
{
    static const CryptKey key = [] {
        require(PageCipher::initialize(), "libsodium does not start");
        return PageCipher::deriveKey(QStringLiteral("fuzz"), QByteArray(16, 'f'), {1, 8192});
    }();
    return key;
}

bool isPageLine(const QString &line)
{
    if (line.isEmpty() || line.front() == u' ' || line.back() == u' ')
        return false;
    for (const QChar c : line) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QStringList linesOf(std::string_view input)
{
    QStringList lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = input.find('\n', start);
        const std::string_view line = input.substr(start, end - start);
        lines.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

// The lines a sealed text opens to: the empty text has none.
QStringList expectedOpen(const QStringList &lines)
{
    return lines == QStringList{QString()} ? QStringList() : lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const CryptKey &key = fixedKey();
    require(key.isValid(), "no key");
    const QStringList lines = linesOf(std::string_view(reinterpret_cast<const char *>(data), size));

    PageCipher::isSealed(lines);
    if (const auto opened = PageCipher::open(key, lines)) {
        require(PageCipher::isSealed(lines), "lines open that are not sealed");
        require(PageCipher::open(key, PageCipher::seal(key, *opened)) == opened,
                "an opened text does not seal and open again");
    }
    if (const auto params = PageCipher::paramsFromText(lines.first()))
        require(PageCipher::paramsText(*params) == lines.first(), "limits read in another form");
    PageCipher::checkMatches(key, lines.first());

    QStringList sealed = PageCipher::seal(key, lines);
    require(sealed.size() >= 2 && PageCipher::isSealed(sealed), "a sealed text is not sealed");
    for (const QString &line : sealed)
        require(isPageLine(line), "a sealed line is no page line");
    require(PageCipher::open(key, sealed) == expectedOpen(lines), "a sealed text opens otherwise");

    qsizetype characters = 0;
    for (const QString &line : sealed)
        characters += line.size();
    qsizetype at = qsizetype(size) % characters;
    for (QString &line : sealed) {
        if (at < line.size()) {
            line[at] = line[at] == u'A' ? u'B' : u'A';
            break;
        }
        at -= line.size();
    }
    require(!PageCipher::open(key, sealed), "a changed sealed text opens");
    return 0;
}
