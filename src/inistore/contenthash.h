#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A 128-bit fingerprint of a byte stream and its length, the same however the stream is cut
// into pieces. It tells whether a file still holds the bytes the store last read or wrote
// without keeping those bytes; it finds accidental changes, not ones made to collide on purpose.
// Every 32-byte block feeds four independent lanes, one 8-byte word each, so that the four
// multiply chains run side by side; a change of any one word always changes its lane.
class ContentHash
{
public:
    struct Value
    {
        std::uint64_t first = 0;
        std::uint64_t second = 0;
        std::uint64_t size = 0;
        bool operator==(const Value &) const = default;
    };

    void add(std::string_view bytes);
    Value value() const;

    static Value of(std::string_view bytes);

private:
    static constexpr std::size_t lanes = 4;
    static constexpr std::size_t blockSize = lanes * 8;

    void mixBlock(const unsigned char *block);

    std::uint64_t m_lanes[lanes] = {0x243F6A8885A308D3u, 0x13198A2E03707344u, 0xA4093822299F31D0u,
                                    0x082EFA98EC4E6C89u};
    std::uint64_t m_size = 0;
    // The bytes after the last whole block, waiting for the next piece.
    unsigned char m_pending[blockSize] = {};
    std::size_t m_pendingSize = 0;
};
