#include "linecipher.h"

#include <array>
#include <cstring>

namespace {

constexpr std::uint32_t multiplier = 134775813u;
constexpr int range = 223;
constexpr int lowest = 32;
// Generators drawing side by side for a line without escapes.
constexpr int lanes = 16;

// `steps` state steps in one: state * multiplierOf(steps) + incrementOf(steps).
constexpr std::uint32_t multiplierOf(int steps)
{
    std::uint32_t result = 1;
    for (int i = 0; i < steps; ++i)
        result *= multiplier;
    return result;
}

constexpr std::uint32_t incrementOf(int steps)
{
    std::uint32_t result = 0;
    for (int i = 0; i < steps; ++i)
        result = result * multiplier + 1u;
    return result;
}

// The shift (1..200) drawn from a state that has just been stepped.
int shiftOf(std::uint32_t state)
{
    return static_cast<int>((std::uint64_t{200} * state) >> 32) + 1;
}

class Generator
{
public:
    explicit Generator(std::uint32_t state) : m_state(state) {}

    // A draw below n, taken after the state step.
    std::uint32_t below(std::uint32_t n)
    {
        m_state = m_state * multiplier + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * m_state) >> 32);
    }

    int shift() { return static_cast<int>(below(200)) + 1; }

private:
    std::uint32_t m_state;
};

char encipherByte(int code, int shift)
{
    // code + shift lies in 1..422: one subtraction takes it below the range.
    code += shift;
    code -= code >= range ? range : 0;
    return static_cast<char>(code + lowest);
}

int decipherByte(int code, int shift)
{
    // The byte less 32 and the shift lies in -232..222: at most two additions bring it into
    // the range.
    code -= lowest + shift;
    code += code < 0 ? range : 0;
    code += code < 0 ? range : 0;
    return code;
}

// Writes apply(byte, shift) for every byte of a line without escapes, where the draws follow
// the bytes one to one: `lanes` generators, each stepping `lanes` states at once, draw side by
// side instead of each draw waiting for the one before. to may be from or before it.
template <typename Apply>
void applyShifts(const char *from, char *to, std::size_t size, std::uint32_t key, Apply apply)
{
    constexpr std::uint32_t laneMultiplier = multiplierOf(lanes);
    constexpr std::uint32_t laneIncrement = incrementOf(lanes);
    // Lane n starts n + 1 steps after the key, each lane on its own.
    constexpr auto startMultipliers = [] {
        std::array<std::uint32_t, lanes> values{};
        for (int lane = 0; lane < lanes; ++lane)
            values[std::size_t(lane)] = multiplierOf(lane + 1);
        return values;
    }();
    constexpr auto startIncrements = [] {
        std::array<std::uint32_t, lanes> values{};
        for (int lane = 0; lane < lanes; ++lane)
            values[std::size_t(lane)] = incrementOf(lane + 1);
        return values;
    }();
    std::uint32_t states[lanes];
    for (int lane = 0; lane < lanes; ++lane)
        states[lane] =
            key * startMultipliers[std::size_t(lane)] + startIncrements[std::size_t(lane)];
    std::size_t i = 0;
    for (; i + lanes <= size; i += lanes) {
        for (int lane = 0; lane < lanes; ++lane) {
            to[i + lane] = apply(static_cast<unsigned char>(from[i + lane]), shiftOf(states[lane]));
            states[lane] = states[lane] * laneMultiplier + laneIncrement;
        }
    }
    for (int lane = 0; i < size; ++i, ++lane)
        to[i] = apply(static_cast<unsigned char>(from[i]), shiftOf(states[lane]));
}

// The number of bytes of plain the cipher escapes (223 and above). Such bytes have their high
// bit set: eight bytes without one are passed over at once.
std::size_t escapedBytes(std::string_view plain)
{
    const auto escaped = [](char c) {
        return static_cast<unsigned char>(c) >= LineCipher::escapeBase ? 1u : 0u;
    };
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= plain.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, plain.data() + i, sizeof word);
        if ((word & 0x8080808080808080u) == 0)
            continue;
        for (std::size_t k = i; k < i + sizeof word; ++k)
            count += escaped(plain[k]);
    }
    for (; i < plain.size(); ++i)
        count += escaped(plain[i]);
    return count;
}

} // namespace

std::string LineCipher::encipher(std::string_view plain, std::uint32_t key)
{
    std::string out;
    appendEnciphered(out, plain, key);
    return out;
}

void LineCipher::appendEnciphered(std::string &out, std::string_view plain, std::uint32_t key)
{
    const std::size_t start = out.size();
    out.resize(start + encipheredSize(plain));
    encipherInto(out.data() + start, plain, key);
}

std::size_t LineCipher::encipheredSize(std::string_view plain)
{
    return plain.size() + escapedBytes(plain);
}

char *LineCipher::encipherInto(char *to, std::string_view plain, std::uint32_t key)
{
    if (escapedBytes(plain) == 0) {
        applyShifts(plain.data(), to, plain.size(), key, encipherByte);
        return to + plain.size();
    }
    Generator generator(key);
    for (const char c : plain) {
        int code = static_cast<unsigned char>(c);
        if (code >= escapeBase) {
            generator.below(200);
            *to++ = static_cast<char>(escapeByte);
            code -= escapeBase;
        }
        *to++ = encipherByte(code, generator.shift());
    }
    return to;
}

std::string LineCipher::decipher(std::string_view enciphered, std::uint32_t key)
{
    std::string line(enciphered);
    decipherInPlace(line, key);
    return line;
}

void LineCipher::decipherInPlace(std::string &line, std::uint32_t key)
{
    line.resize(static_cast<std::size_t>(decipherInto(line.data(), line, key) - line.data()));
}

char *LineCipher::decipherInto(char *to, std::string_view enciphered, std::uint32_t key)
{
    // Each byte is read before the one at its place or after it is written.
    if (enciphered.find(static_cast<char>(escapeByte)) == std::string_view::npos) {
        applyShifts(enciphered.data(), to, enciphered.size(), key, [](int code, int shift) {
            return static_cast<char>(decipherByte(code, shift));
        });
        return to + enciphered.size();
    }
    Generator generator(key);
    const char *from = enciphered.data();
    const char *const end = from + enciphered.size();
    while (from != end) {
        int base = 0;
        if (static_cast<unsigned char>(*from) == escapeByte) {
            generator.below(200);
            if (++from == end)
                break;
            base = escapeBase;
        }
        const int code = decipherByte(static_cast<unsigned char>(*from++), generator.shift());
        *to++ = static_cast<char>((code + base) & 0xFF);
    }
    return to;
}

int LineCipher::seedFor(std::uint32_t milliseconds)
{
    Generator generator(milliseconds);
    return static_cast<int>(generator.below(10000)) + 1000;
}
