#include "stream_buffer.h"

#include <algorithm>

namespace {

// An emptied stream keeps this much storage for the next frame and gives back the rest,
// so a connection that once carried a large picture does not hold on to it.
constexpr std::size_t kKeptCapacity = 64 * 1024;

}  // namespace

void StreamBuffer::Append(const std::uint8_t* bytes, std::size_t count)
{
    if (count == 0) {
        return;
    }
    if (m_nHead > 0 && m_nHead >= m_bytes.size() / 2) {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_nHead));
        m_nHead = 0;
    }
    m_bytes.insert(m_bytes.end(), bytes, bytes + count);
}

void StreamBuffer::Consume(std::size_t count)
{
    m_nHead += std::min(count, Size());
    if (m_nHead == m_bytes.size()) {
        m_bytes.clear();
        m_nHead = 0;
        if (m_bytes.capacity() > kKeptCapacity) {
            m_bytes.shrink_to_fit();
        }
    }
}

void StreamBuffer::Clear()
{
    std::vector<std::uint8_t>().swap(m_bytes);
    m_nHead = 0;
}
