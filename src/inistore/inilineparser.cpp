#include "inilineparser.h"

#include "inierror.h"
#include "initext.h"

namespace {

void appendWithoutSemicolons(std::string &out, std::string_view text)
{
    for (std::size_t semicolon = text.find(';'); semicolon != std::string_view::npos;
         semicolon = text.find(';')) {
        out.append(text.substr(0, semicolon));
        text.remove_prefix(semicolon + 1);
    }
    out.append(text);
}

bool isBracketed(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

int userBlockNumber(std::string_view marker)
{
    std::string_view number = marker.substr(3, marker.size() - 4);
    number = number.substr(0, number.find(';'));
    number = IniText::trim(number);
    const auto value = IniText::toInt(number);
    if (!value)
        throw IniError("'" + std::string(number) + "' is not a valid integer value");
    return *value;
}

} // namespace

IniLineParser::Result IniLineParser::parse(std::string_view line)
{
    const std::string_view text = IniText::trim(line);
    Result result;
    if (isBracketed(text) && text.size() >= 4 && text.substr(0, 3) == "[**") {
        m_userBlock = userBlockNumber(text);
    } else if (isBracketed(text)) {
        m_section.clear();
        appendWithoutSemicolons(m_section, IniText::trim(text.substr(1, text.size() - 2)));
    } else if (m_userBlock == 0) {
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos) {
            const std::string_view key = IniText::trim(text.substr(0, equals));
            const std::string_view value = text.substr(equals + 1);
            m_entry.assign(m_section).append(1, ';');
            appendWithoutSemicolons(m_entry, key);
            m_entry.append(1, '=').append(value);
            result.entry = m_entry;
        }
    }
    result.inBlockZero = m_userBlock == 0;
    return result;
}

void IniLineParser::parseAll(const LineBuffer &lines, IniPStringList &entries,
                             std::vector<std::string> &otherBlocks)
{
    parsePieces(
        [&lines](const LinePieceTaker &take) {
            take(lines);
            return true;
        },
        entries, otherBlocks);
}

bool IniLineParser::parsePieces(const std::function<bool(const LinePieceTaker &take)> &load,
                                IniPStringList &entries, std::vector<std::string> &otherBlocks)
{
    IniLineParser parser;
    entries.clear();
    // Lines in order, as a file this store wrote holds them, each go to the end of the list at
    // once; any other line finds its place.
    return load([&](const LineBuffer &lines) {
        for (const std::string_view line : lines) {
            const Result result = parser.parse(line);
            if (!result.inBlockZero)
                otherBlocks.emplace_back(line);
            else if (result.entry)
                entries.add(*result.entry);
        }
    });
}
