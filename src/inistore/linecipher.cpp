#include "linecipher.h"

namespace {

class Generator
{
public:
    explicit Generator(std::uint32_t state) : m_state(state) {}

    // A draw below n, taken after the state step.
    std::uint32_t below(std::uint32_t n)
    {
        m_state = m_state * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * m_state) >> 32);
    }

    int shift() { return static_cast<int>(below(200)) + 1; }

private:
    std::uint32_t m_state;
};

constexpr int range = 223;
constexpr int lowest = 32;

} // namespace

std::string LineCipher::encipher(std::string_view plain, std::uint32_t key)
{
    Generator generator(key);
    std::string out;
    out.reserve(plain.size());
    for (const char c : plain) {
        int code = static_cast<unsigned char>(c);
        if (code >= escapeBase) {
            generator.below(200);
            out += static_cast<char>(escapeByte);
            code -= escapeBase;
        }
        out += static_cast<char>((code + generator.shift()) % range + lowest);
    }
    return out;
}

std::string LineCipher::decipher(std::string_view enciphered, std::uint32_t key)
{
    Generator generator(key);
    std::string out;
    out.reserve(enciphered.size());
    for (std::size_t i = 0; i < enciphered.size(); ++i) {
        int base = 0;
        if (static_cast<unsigned char>(enciphered[i]) == escapeByte) {
            generator.below(200);
            if (++i == enciphered.size())
                break;
            base = escapeBase;
        }
        int code = (static_cast<unsigned char>(enciphered[i]) - lowest - generator.shift()) % range;
        if (code < 0)
            code += range;
        out += static_cast<char>((code + base) & 0xFF);
    }
    return out;
}

int LineCipher::seedFor(std::uint32_t milliseconds)
{
    Generator generator(milliseconds);
    return static_cast<int>(generator.below(10000)) + 1000;
}
