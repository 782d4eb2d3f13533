#include "frame_buffer.h"

#include <climits>
#include <cstring>
#include <string>

#include "comm_msg.h"
#include "text/wide_text.h"

namespace {

constexpr int kHeaderSize = 8;

}  // namespace

std::int32_t ReadInt32LE(const std::uint8_t* p)
{
    const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(u);
}

void WriteInt32LE(std::uint8_t* p, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
    p[2] = static_cast<std::uint8_t>(u >> 16);
    p[3] = static_cast<std::uint8_t>(u >> 24);
}

void FrameBuffer::Assign(const std::uint8_t* bytes, int length)
{
    m_pBytes.reset();
    m_nLength = 0;
    if (bytes == nullptr || length <= 0) {
        return;
    }
    m_pBytes = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(length));
    std::memcpy(m_pBytes.get(), bytes, static_cast<std::size_t>(length));
    m_nLength = length;
}

void FrameBuffer::FromMessage(const CommMsg_base& msg)
{
    m_pBytes.reset();
    m_nLength = 0;
    const std::string json = msg.ToJsonText();
    const long long attach = msg.m_pAttach ? msg.m_nAttachLen : 0;
    const long long total = static_cast<long long>(json.size()) + kHeaderSize + attach;
    if (attach < 0 || total > INT_MAX) {
        return;
    }
    m_pBytes = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(total));
    m_nLength = static_cast<int>(total);
    WriteInt32LE(m_pBytes.get(), m_nLength);
    WriteInt32LE(m_pBytes.get() + 4, static_cast<std::int32_t>(attach));
    std::memcpy(m_pBytes.get() + kHeaderSize, json.data(), json.size());
    if (attach > 0) {
        std::memcpy(m_pBytes.get() + kHeaderSize + json.size(), msg.m_pAttach.get(), static_cast<std::size_t>(attach));
    }
}

bool FrameBuffer::ToMessage(CommMsg_base& msg) const
{
    const int n = m_nLength;
    if (!m_pBytes || n <= kHeaderSize) {
        return false;
    }
    const std::int32_t attach = ReadInt32LE(m_pBytes.get() + 4);
    if (attach < 0 || attach > n - kHeaderSize || (attach >= 1 && attach < kMinAttachment)) {
        return false;
    }
    const std::string json(reinterpret_cast<const char*>(m_pBytes.get()) + kHeaderSize,
                           static_cast<std::size_t>(n - attach - kHeaderSize));
    if (Utf8ToWide(json).empty()) {
        return false;
    }
    msg.ResetMsg(0);
    msg.FromJsonText(json);
    if (attach > 0) {
        msg.SetAttachment(m_pBytes.get() + (n - attach), attach);
    }
    return true;
}

int NextFrameLength(const std::uint8_t* stream, std::size_t count)
{
    if (stream == nullptr || count < 6) {
        return -1;
    }
    const std::int32_t length = ReadInt32LE(stream);
    if (length < 1 || static_cast<std::size_t>(length) > count) {
        return -1;
    }
    return length;
}
