#pragma once

#include <cstddef>

// The 32-byte page key, kept in guarded memory that is locked out of swap and wiped when the
// key goes. A key is moved, never copied, so that only one copy of it exists.
class CryptKey
{
public:
    static constexpr std::size_t size = 32;

    // An invalid key, holding nothing.
    CryptKey() = default;
    // A valid key of zero bytes in fresh guarded memory; invalid when it cannot be had.
    static CryptKey allocate();

    CryptKey(CryptKey &&other) noexcept;
    CryptKey &operator=(CryptKey &&other) noexcept;
    CryptKey(const CryptKey &) = delete;
    CryptKey &operator=(const CryptKey &) = delete;
    ~CryptKey();

    bool isValid() const { return m_bytes != nullptr; }
    // The key's size bytes; null for an invalid key.
    const unsigned char *data() const { return m_bytes; }
    // Writable until makeReadOnly(); null for an invalid key.
    unsigned char *data() { return m_bytes; }
    // Later writes to the key's memory fault instead of changing the key.
    void makeReadOnly();

    // Wipes and frees the key; it is invalid afterwards.
    void wipe();

private:
    unsigned char *m_bytes = nullptr;
};
