#include "storedlines.h"

#include "notestext.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr std::string_view lineEnd = "\r\n";

bool isAscii(const std::string &line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool hasLineBreak(std::string_view line)
{
    return line.find_first_of(lineEnd) != std::string_view::npos;
}

// The bytes a write makes of the line's text, when that text comes back from them the same.
std::optional<std::string> writtenBytes(const std::string &line)
{
    if (isAscii(line))
        return line;
    const QString text = NotesText::fromBytes(line);
    std::string bytes = NotesText::toBytes(text);
    if (NotesText::fromBytes(bytes) != text)
        return std::nullopt;
    return bytes;
}

} // namespace

StoredLines::StoredLines(std::string bytes, std::vector<std::uint32_t> starts)
    : m_bytes(std::move(bytes)), m_starts(std::move(starts))
{
}

std::shared_ptr<const StoredLines> StoredLines::of(const std::vector<std::string> &lines)
{
    if (lines.empty() || lines.size() >= size_t(std::numeric_limits<int>::max()))
        return nullptr;
    std::size_t size = 0;
    for (const std::string &line : lines)
        size += line.size() + lineEnd.size();
    std::string bytes;
    bytes.reserve(size);
    std::vector<std::uint32_t> starts;
    starts.reserve(lines.size() + 1);
    for (const std::string &line : lines) {
        const std::optional<std::string> written = writtenBytes(line);
        if (!written || hasLineBreak(*written))
            return nullptr;
        starts.push_back(std::uint32_t(bytes.size()));
        bytes.append(*written).append(lineEnd);
        if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
            return nullptr;
    }
    starts.push_back(std::uint32_t(bytes.size()));
    bytes.shrink_to_fit();
    return std::make_shared<const StoredLines>(std::move(bytes), std::move(starts));
}

std::string_view StoredLines::line(int index) const
{
    const std::uint32_t start = m_starts[size_t(index)];
    const std::uint32_t end = m_starts[size_t(index) + 1] - std::uint32_t(lineEnd.size());
    return std::string_view(m_bytes).substr(start, end - start);
}

QStringList StoredLines::lines() const
{
    QStringList text;
    text.reserve(count());
    for (int i = 0; i < count(); ++i)
        text.append(NotesText::fromBytes(line(i)));
    return text;
}

// Every line is valid UTF-8 and ends in CR LF: the whole buffer decodes to the lines' texts
// with their line ends.
QString StoredLines::searchText() const
{
    return QString::fromUtf8(m_bytes.data(), qsizetype(m_bytes.size()));
}

std::vector<std::string> StoredLines::byteLines() const
{
    std::vector<std::string> bytes;
    bytes.reserve(size_t(count()));
    for (int i = 0; i < count(); ++i)
        bytes.emplace_back(line(i));
    return bytes;
}

bool StoredLines::holdsBytes(const std::vector<std::string> &lines) const
{
    if (lines.size() != std::size_t(count()))
        return false;
    for (int i = 0; i < count(); ++i) {
        if (line(i) != lines[std::size_t(i)])
            return false;
    }
    return true;
}
