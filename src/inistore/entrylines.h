#pragma once

#include "linebuffer.h"
#include "linesource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Sorted entries "section;key=value" as the lines of INI text that read back to them: a header
// before each change of section, a blank line between sections and one after the last, then
// other lines as they stand. Each line is made when asked for, from views of the entries and
// the other lines, which must outlive this object.
class EntryLines : public LineSource
{
public:
    EntryLines(const std::vector<std::string_view> &entries,
               const std::vector<std::string> &otherLines);

    std::size_t size() const override { return m_lines.size(); }
    std::string_view line(std::size_t index, std::string &scratch) const override;

private:
    enum class Kind : std::uint8_t
    {
        Header,
        Key,
        Blank,
        Other
    };
    struct Line
    {
        // The entry of a header or key line, the other line's number.
        std::uint32_t index;
        Kind kind;
    };

    const std::vector<std::string_view> &m_entries;
    const std::vector<std::string> &m_otherLines;
    std::vector<Line> m_lines;
};
