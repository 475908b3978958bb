#include "lineloader.h"

#include "initext.h"
#include "linecipher.h"
#include "platformfile.h"
#include "sidebyside.h"

#include <algorithm>
#include <utility>

namespace {

// A piece holds at most as many lines as it holds lines of this size; more only grow its buffer.
constexpr std::size_t shortLineBytes = 16;

// The text up to the first line break (CR LF, lone CR or lone LF); rest then begins after it.
std::string_view takeLine(std::string_view &rest)
{
    // Two byte searches: the first line feed, then a carriage return before it.
    std::size_t end = std::min(rest.find('\n'), rest.size());
    end = std::min(rest.substr(0, end).find('\r'), end);
    const std::string_view line = rest.substr(0, end);
    std::size_t next = end;
    if (next < rest.size() && rest[next++] == '\r' && next < rest.size() && rest[next] == '\n')
        ++next;
    rest.remove_prefix(next);
    return line;
}

} // namespace

bool LineLoader::load(const std::string &path, const LinePieceTaker &take, ContentHash &print,
                      std::string &error)
{
    // The lines of one piece wait in `ready` while the next piece's are made in `next`. Their
    // memory comes from this thread: memory a second thread takes stays in a heap of its own.
    LineBuffer ready;
    LineBuffer next;
    for (LineBuffer *lines : {&ready, &next})
        lines->reserve(pieceBytes + pieceBytes / 4, pieceBytes / shortLineBytes);
    bool haveReady = false;
    const auto step = [&](bool atEnd) {
        if (!m_headerTaken && !takeHeader(atEnd))
            return;
        // Only bytes up to a line feed are whole lines: a carriage return at the end may be
        // the first half of a CR LF.
        const std::size_t end = atEnd ? m_bytes.size() : m_bytes.rfind('\n') + 1;
        if (end == 0)
            return;
        if (!haveReady) {
            takeLines(end, ready);
            haveReady = true;
            return;
        }
        SideBySide::run([&] { take(ready); }, [&] { takeLines(end, next); });
        std::swap(ready, next);
    };
    const bool read = PlatformFile::readAppending(
        path, m_bytes, pieceBytes,
        [&](std::string_view added, bool atEnd) {
            print.add(added);
            step(atEnd);
        },
        error);
    if (read && haveReady)
        take(ready);
    return read;
}

bool LineLoader::takeHeader(bool atEnd)
{
    // Two line feeds end two lines at least.
    const std::size_t firstFeed = m_bytes.find('\n');
    if (!atEnd && (firstFeed == std::string::npos ||
                   m_bytes.find('\n', firstFeed + 1) == std::string::npos))
        return false;
    m_headerTaken = true;
    std::string_view rest = m_bytes;
    if (takeLine(rest) != m_marker || rest.empty())
        return true;
    // The first line after the seed is the file's third line. A seed that is no number leaves
    // the lines as they are.
    if (const auto seed = IniText::toInt(IniText::trim(takeLine(rest))))
        m_key = static_cast<std::uint32_t>(*seed) + 2;
    m_bytes.erase(0, static_cast<std::size_t>(rest.data() - m_bytes.data()));
    return true;
}

void LineLoader::takeLines(std::size_t end, LineBuffer &piece)
{
    piece.clear();
    std::string_view rest(m_bytes.data(), end);
    while (!rest.empty()) {
        const std::string_view line = takeLine(rest);
        if (!m_key) {
            piece.push_back(line);
            continue;
        }
        const std::uint32_t key = (*m_key)++;
        piece.addLine([&](std::string &text) {
            const std::size_t at = text.size();
            text.resize(at + line.size());
            text.resize(
                static_cast<std::size_t>(LineCipher::decipherInto(text.data() + at, line, key) -
                                         text.data()));
        });
    }
    m_bytes.erase(0, end);
}
