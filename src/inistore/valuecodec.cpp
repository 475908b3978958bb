#include "valuecodec.h"

#include "initext.h"

namespace ValueCodec {

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isPlain(unsigned char c)
{
    return c >= 32 && c <= 126 && c != '#';
}

bool isEscapable(int code)
{
    return code < 32 || code == '#' || (code >= 127 && code <= 255);
}

int hexValue(char c)
{
    if (c == ' ')
        return 0;
    if (c >= 'a' && c <= 'f')
        c = static_cast<char>(c - 'a' + 'A');
    for (int value = 0; value < 16; ++value) {
        if (hexDigits[value] == c)
            return value;
    }
    return -1;
}

} // namespace

std::string encodeString(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (isPlain(code)) {
            out += c;
        } else {
            out += '#';
            out += static_cast<char>('0' + code / 100);
            out += static_cast<char>('0' + code / 10 % 10);
            out += static_cast<char>('0' + code % 10);
        }
    }
    return out;
}

std::string decodeString(std::string_view stored)
{
    std::string out;
    out.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] != '#') {
            out += stored[i];
            continue;
        }
        if (i + 3 >= stored.size())
            return std::string(stored);
        int code = 0;
        for (std::size_t d = 1; d <= 3; ++d) {
            const char digit = stored[i + d];
            if (digit < '0' || digit > '9')
                return std::string(stored);
            code = code * 10 + (digit - '0');
        }
        if (!isEscapable(code))
            return std::string(stored);
        out += static_cast<char>(code);
        i += 3;
    }
    return out;
}

std::string encodeInt(std::int32_t value)
{
    return std::to_string(value);
}

std::optional<std::int32_t> decodeInt(std::string_view stored)
{
    while (!stored.empty() && static_cast<unsigned char>(stored.front()) <= ' ')
        stored.remove_prefix(1);
    return IniText::toInt(stored);
}

std::string encodeHex(const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += hexDigits[bytes[i] >> 4];
        out += hexDigits[bytes[i] & 0x0F];
    }
    return out;
}

std::size_t decodeHex(std::string_view stored, void *data, std::size_t size)
{
    auto *bytes = static_cast<unsigned char *>(data);
    std::size_t filled = 0;
    for (; filled < size && 2 * filled + 1 < stored.size(); ++filled) {
        const int high = hexValue(stored[2 * filled]);
        const int low = hexValue(stored[2 * filled + 1]);
        bytes[filled] = (high < 0 || low < 0) ? 0 : static_cast<unsigned char>(high * 16 + low);
    }
    return filled;
}

} // namespace ValueCodec
