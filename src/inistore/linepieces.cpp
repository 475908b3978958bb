#include "linepieces.h"

#include "linecipher.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {
// The plain bytes of lines a piece gathers before it ends.
constexpr std::size_t pieceBytes = 128 * 1024;
} // namespace

LinePieces::LinePieces(const LineBuffer &lines, std::optional<std::uint32_t> firstKey)
    : m_lines(lines), m_firstKey(firstKey)
{
    std::size_t gathered = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (gathered == 0)
            m_starts.push_back(i);
        gathered += lines[i].size() + 2;
        if (gathered >= pieceBytes)
            gathered = 0;
    }
    m_starts.push_back(lines.size());
}

void LinePieces::forEach(const std::function<void(std::string_view)> &take) const
{
    if (m_firstKey && m_lines.size() >= sideBySideLines) {
        takeSideBySide(take);
        return;
    }
    std::string buffer;
    for (std::size_t piece = 0; piece + 1 < m_starts.size(); ++piece)
        take(make(piece, buffer));
}

std::string_view LinePieces::make(std::size_t piece, std::string &buffer) const
{
    const std::size_t first = m_starts[piece];
    const std::size_t last = m_starts[piece + 1];
    // An enciphered byte takes at most two.
    std::size_t room = 0;
    for (std::size_t i = first; i < last; ++i)
        room += (m_firstKey ? 2 : 1) * m_lines[i].size() + 2;
    if (buffer.size() < room)
        buffer.resize(room);
    char *to = buffer.data();
    for (std::size_t i = first; i < last; ++i) {
        const std::string_view line = m_lines[i];
        to = m_firstKey ? LineCipher::encipherInto(to, line, *m_firstKey + std::uint32_t(i))
                        : std::copy(line.begin(), line.end(), to);
        *to++ = '\r';
        *to++ = '\n';
    }
    return {buffer.data(), static_cast<std::size_t>(to - buffer.data())};
}

// The caller's thread makes every third piece and takes every piece in order (it also has
// their fingerprint and their writing to do); a second thread makes the other two of every
// three into a ring of slots, a few pieces ahead of the caller at most.
void LinePieces::takeSideBySide(const std::function<void(std::string_view)> &take) const
{
    struct Slot
    {
        std::string buffer;
        std::string_view bytes;
        bool ready = false;
    };
    constexpr std::size_t ownEvery = 3;
    const auto isOwn = [](std::size_t piece) { return piece % ownEvery == 0; };
    // The slot of a piece the second thread makes: its number among those pieces, in a ring.
    const auto slotOf = [](std::size_t piece) {
        return (piece - (piece + ownEvery - 1) / ownEvery) % slotCount;
    };
    std::array<Slot, slotCount> slots;
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    const std::size_t pieces = m_starts.size() - 1;

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
                const std::string_view bytes = make(piece, slot.buffer);
                {
                    const std::lock_guard lock(mutex);
                    slot.bytes = bytes;
                    slot.ready = true;
                }
                changed.notify_all();
            }
        });
    } catch (const std::system_error &) {
        std::string buffer;
        for (std::size_t piece = 0; piece < pieces; ++piece)
            take(make(piece, buffer));
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

    std::string own;
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
