#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The bytes a connection has received and not yet cut into frames, oldest first.
// Appending is amortised (the storage grows geometrically and consumed bytes at the
// front are only moved out once they are at least half of it), so a frame that arrives
// in many pieces costs linear time, not a copy of everything at every receive.
class StreamBuffer {
public:
    void Append(const std::uint8_t* bytes, std::size_t count);
    // Forgets the first count bytes (at most Size()).
    void Consume(std::size_t count);
    // Forgets everything and gives the storage back.
    void Clear();

    const std::uint8_t* Data() const { return m_bytes.data() + m_nHead; }
    std::size_t Size() const { return m_bytes.size() - m_nHead; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_nHead = 0;
};
