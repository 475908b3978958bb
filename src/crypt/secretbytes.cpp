#include "secretbytes.h"

#include <algorithm>
#include <sodium.h>

SecretBytes::SecretBytes(std::size_t size)
    // One byte more, so that data() is never null, even for an empty text.
    : m_bytes(std::make_unique<unsigned char[]>(size + 1)), m_capacity(size + 1), m_size(size)
{
}

SecretBytes::~SecretBytes()
{
    sodium_memzero(m_bytes.get(), m_capacity);
}

void SecretBytes::shrink(std::size_t size)
{
    m_size = std::min(m_size, size);
}
