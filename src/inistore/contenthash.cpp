#include "contenthash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t firstPrime = 0x9E3779B97F4A7C15u;
constexpr std::uint64_t secondPrime = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t thirdPrime = 0x165667B19E3779F9u;

// Every input bit reaches every output bit.
std::uint64_t avalanche(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDu;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53u;
    h ^= h >> 33;
    return h;
}

std::uint64_t wordAt(const unsigned char *bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

} // namespace

void ContentHash::mixBlock(const unsigned char *block)
{
    // Each step is one-to-one in the word and in the lane's state (odd multipliers, a
    // rotation), so two streams that differ in one word end in different lanes.
    m_lanes[0] = std::rotl(m_lanes[0] ^ (wordAt(block) * firstPrime), 31) * secondPrime;
    m_lanes[1] = std::rotl(m_lanes[1] + (wordAt(block + 8) * thirdPrime), 27) * firstPrime;
    m_lanes[2] = std::rotl(m_lanes[2] ^ (wordAt(block + 16) * secondPrime), 29) * thirdPrime;
    m_lanes[3] = std::rotl(m_lanes[3] + (wordAt(block + 24) * firstPrime), 23) * secondPrime;
}

void ContentHash::add(std::string_view bytes)
{
    // An empty view may have no data at all.
    if (bytes.empty())
        return;
    m_size += bytes.size();
    const auto *next = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t left = bytes.size();
    if (m_pendingSize > 0) {
        const std::size_t taken = std::min(left, blockSize - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, next, taken);
        m_pendingSize += taken;
        next += taken;
        left -= taken;
        if (m_pendingSize < blockSize)
            return;
        mixBlock(m_pending);
        m_pendingSize = 0;
    }
    for (; left >= blockSize; next += blockSize, left -= blockSize)
        mixBlock(next);
    std::memcpy(m_pending, next, left);
    m_pendingSize = left;
}

ContentHash::Value ContentHash::value() const
{
    // The last block is padded with zeros; the size tells it from one that holds them.
    ContentHash last = *this;
    unsigned char tail[blockSize] = {};
    std::memcpy(tail, m_pending, m_pendingSize);
    last.mixBlock(tail);
    const std::uint64_t first =
        avalanche(last.m_lanes[0] ^ std::rotl(last.m_lanes[2], 19) ^ (m_size * thirdPrime));
    const std::uint64_t second =
        avalanche(last.m_lanes[1] ^ std::rotl(last.m_lanes[3], 41) ^ std::rotl(first, 17));
    return {first, second, m_size};
}

ContentHash::Value ContentHash::of(std::string_view bytes)
{
    ContentHash hash;
    hash.add(bytes);
    return hash.value();
}
