#include "inilineparser.h"

#include "inierror.h"
#include "initext.h"

#include <algorithm>

namespace {

std::string withoutSemicolons(std::string_view text)
{
    std::string result(text);
    result.erase(std::remove(result.begin(), result.end(), ';'), result.end());
    return result;
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
        m_section = withoutSemicolons(IniText::trim(text.substr(1, text.size() - 2)));
    } else if (m_userBlock == 0) {
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos) {
            result.entry = m_section + ';' +
                           withoutSemicolons(IniText::trim(text.substr(0, equals))) + '=' +
                           std::string(text.substr(equals + 1));
        }
    }
    result.inBlockZero = m_userBlock == 0;
    return result;
}
