#pragma once

#include <cstddef>
#include <memory>

// A heap buffer for plain text on its way to or from the cipher, zeroed before it is freed.
// Its size is fixed when it is made; shrink() only lowers the count of bytes in use.
class SecretBytes
{
public:
    explicit SecretBytes(std::size_t size);
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;
    ~SecretBytes();

    unsigned char *data() { return m_bytes.get(); }
    const unsigned char *data() const { return m_bytes.get(); }
    char *chars() { return reinterpret_cast<char *>(m_bytes.get()); }
    const char *chars() const { return reinterpret_cast<const char *>(m_bytes.get()); }
    std::size_t size() const { return m_size; }
    void shrink(std::size_t size);

private:
    std::unique_ptr<unsigned char[]> m_bytes;
    std::size_t m_capacity;
    std::size_t m_size;
};
