#include "cryptkey.h"

#include <cstring>
#include <sodium.h>
#include <utility>

CryptKey CryptKey::allocate()
{
    CryptKey key;
    if (sodium_init() < 0)
        return key;
    key.m_bytes = static_cast<unsigned char *>(sodium_malloc(size));
    if (key.m_bytes)
        std::memset(key.m_bytes, 0, size);
    return key;
}

CryptKey::CryptKey(CryptKey &&other) noexcept : m_bytes(std::exchange(other.m_bytes, nullptr)) {}

CryptKey &CryptKey::operator=(CryptKey &&other) noexcept
{
    if (this != &other) {
        wipe();
        m_bytes = std::exchange(other.m_bytes, nullptr);
    }
    return *this;
}

CryptKey::~CryptKey()
{
    wipe();
}

void CryptKey::makeReadOnly()
{
    if (m_bytes)
        sodium_mprotect_readonly(m_bytes);
}

void CryptKey::wipe()
{
    // sodium_free makes the memory writable again and zeroes it before it is released.
    if (m_bytes)
        sodium_free(std::exchange(m_bytes, nullptr));
}
