#include "entrylines.h"

#include "inipstringlist.h"
#include "initext.h"

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Reading trims every line of its blanks and control characters and then drops each ";" of a
// name. A name that begins or ends with such characters keeps them behind or before a ";".
bool beginsWithBlank(std::string_view name)
{
    return !name.empty() && isBlankOrControl(name.front());
}

bool endsWithBlank(std::string_view name)
{
    return !name.empty() && isBlankOrControl(name.back());
}

// "[" + section + "]"; a section beginning with "**" (read from a header such as "[ **3]")
// keeps a blank after the bracket, or it would come back as a user-block marker.
void appendSectionHeader(std::string &line, std::string_view section)
{
    line.append(1, '[');
    if (beginsWithBlank(section))
        line.append(1, ';');
    else if (section.substr(0, 2) == "**")
        line.append(1, ' ');
    line.append(section);
    if (endsWithBlank(section))
        line.append(1, ';');
    line.append(1, ']');
}

// Reading trims every line of its blanks and control characters. A key that lost a ";" when it
// was read can make the line begin with "[" (after the blanks the trim takes) while the value
// ends with "]": such a line would come back as a section header or a user-block marker.
bool readsAsHeader(std::string_view line)
{
    const std::string_view trimmed = IniText::trim(line);
    return trimmed.starts_with('[') && trimmed.ends_with(']');
}

// Whether the line of an entry's text "key=value" is other than the text: see appendKeyLine().
bool keyLineNeedsMarks(std::string_view text, std::string_view key)
{
    return beginsWithBlank(key) || endsWithBlank(key) || readsAsHeader(text);
}

// "key=value"; a key keeps a ";" behind a blank that begins it and before one that ends it, and
// a line that would read as a header a ";" in front, which reading drops again.
void appendKeyLine(std::string &line, std::string_view text, std::string_view key)
{
    if (beginsWithBlank(key) || readsAsHeader(text))
        line.append(1, ';');
    line.append(key);
    if (endsWithBlank(key))
        line.append(1, ';');
    line.append(text.substr(key.size()));
}

} // namespace

EntryLines::EntryLines(const std::vector<std::string_view> &entries,
                       const std::vector<std::string> &otherLines)
    : m_entries(entries), m_otherLines(otherLines)
{
    m_lines.reserve(entries.size() + otherLines.size() + 1);
    std::string_view lastSection;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        const std::string_view section = IniPStringList::sectionOf(entries[i]);
        if (!IniText::sameText(section, lastSection)) {
            if (!lastSection.empty())
                m_lines.push_back({0, Kind::Blank});
            m_lines.push_back({i, Kind::Header});
            lastSection = section;
        }
        m_lines.push_back({i, Kind::Key});
    }
    m_lines.push_back({0, Kind::Blank});
    for (std::uint32_t i = 0; i < otherLines.size(); ++i)
        m_lines.push_back({i, Kind::Other});
}

std::string_view EntryLines::line(std::size_t index, std::string &scratch) const
{
    const Line line = m_lines[index];
    switch (line.kind) {
    case Kind::Header:
        scratch.clear();
        appendSectionHeader(scratch, IniPStringList::sectionOf(m_entries[line.index]));
        return scratch;
    case Kind::Key: {
        const std::string_view entry = m_entries[line.index];
        const std::string_view text = entry.substr(IniPStringList::sectionOf(entry).size() + 1);
        const std::string_view key = text.substr(0, text.find('='));
        if (!keyLineNeedsMarks(text, key))
            return text;
        scratch.clear();
        appendKeyLine(scratch, text, key);
        return scratch;
    }
    case Kind::Blank:
        return {};
    case Kind::Other:
        return m_otherLines[line.index];
    }
    return {};
}
