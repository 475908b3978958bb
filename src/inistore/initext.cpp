#include "initext.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace IniText {

namespace {

unsigned char foldCase(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

int compareText(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    // Equal bytes are equal after folding too: skip them a word at a time.
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= common; i += sizeof(std::uint64_t)) {
        std::uint64_t wordA = 0;
        std::uint64_t wordB = 0;
        std::memcpy(&wordA, a.data() + i, sizeof wordA);
        std::memcpy(&wordB, b.data() + i, sizeof wordB);
        if (wordA != wordB)
            break;
    }
    for (; i < common; ++i) {
        const unsigned char ca = foldCase(static_cast<unsigned char>(a[i]));
        const unsigned char cb = foldCase(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareText(a, b) == 0;
}

bool lessText(std::string_view a, std::string_view b)
{
    return compareText(a, b) < 0;
}

std::string upperCase(std::string_view s)
{
    std::string result(s);
    for (char &c : result)
        c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return result;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<int> toInt(std::string_view s)
{
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    long long value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace IniText
