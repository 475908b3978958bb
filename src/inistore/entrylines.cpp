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

// "key=value". A key that lost a ";" when it was read can make the line begin with "[" (after
// the blanks the trim takes) while the value ends with "]": such a line would come back as a
// section header or a user-block marker, so it keeps a ";" in front, which reading drops again.
void appendKeyLine(std::string &line, std::string_view text)
{
    const std::string_view key = text.substr(0, text.find('='));
    const std::string_view trimmed = IniText::trim(text);
    if (beginsWithBlank(key) || (trimmed.starts_with('[') && trimmed.ends_with(']')))
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

void EntryLines::appendLine(std::size_t index, std::string &text) const
{
    const Line line = m_lines[index];
    switch (line.kind) {
    case Kind::Header:
        appendSectionHeader(text, IniPStringList::sectionOf(m_entries[line.index]));
        break;
    case Kind::Key: {
        const std::string_view entry = m_entries[line.index];
        appendKeyLine(text, entry.substr(IniPStringList::sectionOf(entry).size() + 1));
        break;
    }
    case Kind::Blank:
        break;
    case Kind::Other:
        text.append(m_otherLines[line.index]);
        break;
    }
}
