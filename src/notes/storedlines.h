#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A page's text as the Notes file holds it, for a page nobody has looked at yet: the lines' bytes
// in one buffer, each line followed by CR LF, and where each line starts. The bytes are always
// those a write of the text would write (UTF-8), so they are written as they are; the lines
// become text only when asked for, each as NotesText::fromBytes() makes it. Immutable: shared
// by pointer, a copy of the page copies nothing.
class StoredLines
{
public:
    // The stored lines of a page; a line that is not valid UTF-8 is Windows-1252 and is held as
    // its UTF-8. Null when the lines are better kept as text: no lines, a line holding a line
    // break (a write splits it), or a line whose text would not come back the same from the
    // bytes a write makes of it.
    static std::shared_ptr<const StoredLines> of(const std::vector<std::string> &lines);

    int count() const { return int(m_starts.size()) - 1; }
    std::string_view line(int index) const;
    // The lines as text.
    QStringList lines() const;
    // Every line followed by CR LF, as one text (PageSearch::pageText() of lines()).
    QString searchText() const;
    // The lines' bytes, one string each, as a write takes them.
    std::vector<std::string> byteLines() const;
    // The lines' bytes are those of lines, one for one.
    bool holdsBytes(const std::vector<std::string> &lines) const;

    // Use of(); public for std::make_shared.
    StoredLines(std::string bytes, std::vector<std::uint32_t> starts);

private:
    std::string m_bytes;
    // Where each line starts in m_bytes, and the end of the buffer last.
    std::vector<std::uint32_t> m_starts;
};
