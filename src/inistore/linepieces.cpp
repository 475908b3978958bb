#include "linepieces.h"

#include "linecipher.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {
// The lines of a piece: about 128 KB of a Notes file.
constexpr std::size_t pieceLines = 1500;
} // namespace

LinePieces::LinePieces(const LineSource &lines, std::optional<std::uint32_t> firstKey)
    : m_lines(lines), m_firstKey(firstKey), m_pieces((lines.size() + pieceLines - 1) / pieceLines)
{
}

void LinePieces::forEach(const std::function<void(std::string_view)> &take) const
{
    if (m_firstKey && m_lines.size() >= sideBySideLines) {
        takeSideBySide(take);
        return;
    }
    Buffers buffers;
    for (std::size_t piece = 0; piece < m_pieces; ++piece)
        take(make(piece, buffers));
}

std::string_view LinePieces::make(std::size_t piece, Buffers &buffers) const
{
    const std::size_t first = piece * pieceLines;
    const std::size_t last = std::min(first + pieceLines, m_lines.size());
    std::string &bytes = buffers.bytes;
    std::size_t used = 0;
    for (std::size_t i = first; i < last; ++i) {
        const std::string_view line = m_lines.line(i, buffers.line);
        // An enciphered byte takes at most two. The buffer only grows, so that its bytes are
        // written once each.
        const std::size_t room = (m_firstKey ? 2 : 1) * line.size() + 2;
        if (bytes.size() - used < room)
            bytes.resize(std::max(2 * bytes.size(), used + room));
        char *to = bytes.data() + used;
        to = m_firstKey ? LineCipher::encipherInto(to, line, *m_firstKey + std::uint32_t(i))
                        : std::copy(line.begin(), line.end(), to);
        *to++ = '\r';
        *to++ = '\n';
        used = static_cast<std::size_t>(to - bytes.data());
    }
    return {bytes.data(), used};
}

// The caller's thread makes every other piece and takes every piece in order (their fingerprint
// and their writing cost it less than making them); a second thread makes the pieces between
// into a ring of slots, a few pieces ahead of the caller at most.
void LinePieces::takeSideBySide(const std::function<void(std::string_view)> &take) const
{
    struct Slot
    {
        Buffers buffers;
        std::string_view bytes;
        bool ready = false;
    };
    constexpr std::size_t ownEvery = 2;
    const auto isOwn = [](std::size_t piece) { return piece % ownEvery == 0; };
    // The slot of a piece the second thread makes: its number among those pieces, in a ring.
    const auto slotOf = [](std::size_t piece) {
        return (piece - (piece + ownEvery - 1) / ownEvery) % slotCount;
    };
    std::array<Slot, slotCount> slots;
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    const std::size_t pieces = m_pieces;

    std::optional<std::thread> second;
    try {
        second.emplace([&] {
            for (std::size_t piece = 1; piece < pieces; ++piece) {
                if (isOwn(piece))
                    continue;
                Slot &slot = slots[slotOf(piece)];
                {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return stop || !slot.ready; });
                    if (stop)
                        return;
                }
                const std::string_view bytes = make(piece, slot.buffers);
                {
                    const std::lock_guard lock(mutex);
                    slot.bytes = bytes;
                    slot.ready = true;
                }
                changed.notify_all();
            }
        });
    } catch (const std::system_error &) {
        Buffers buffers;
        for (std::size_t piece = 0; piece < pieces; ++piece)
            take(make(piece, buffers));
        return;
    }
    // The second thread stops waiting however this one leaves.
    struct Join
    {
        std::optional<std::thread> &thread;
        std::mutex &mutex;
        std::condition_variable &changed;
        bool &stop;
        ~Join()
        {
            {
                const std::lock_guard lock(mutex);
                stop = true;
            }
            changed.notify_all();
            thread->join();
        }
    } join{second, mutex, changed, stop};

    Buffers own;
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        if (isOwn(piece)) {
            take(make(piece, own));
            continue;
        }
        Slot &slot = slots[slotOf(piece)];
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slot.ready; });
        }
        take(slot.bytes);
        {
            const std::lock_guard lock(mutex);
            slot.ready = false;
        }
        changed.notify_all();
    }
}
