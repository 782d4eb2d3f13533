#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

class CommMsg_base;

// Attachments of 1 to 99 bytes are refused: a real attachment is a picture.
inline constexpr int kMinAttachment = 100;

// One whole wire frame in memory, in wire layout:
//   int32 LE total length T (header included), int32 LE attachment length A,
//   T - A - 8 bytes of UTF-8 JSON text, then A attachment bytes.
class FrameBuffer {
public:
    FrameBuffer() = default;
    FrameBuffer(FrameBuffer&&) noexcept = default;
    FrameBuffer& operator=(FrameBuffer&&) noexcept = default;

    // Copies the given bytes in, replacing what was held.
    void Assign(const std::uint8_t* bytes, int length);

    // Fills the buffer with the frame of the message. A frame that would not fit an int32
    // length leaves the buffer empty, so nothing malformed is ever sent.
    void FromMessage(const CommMsg_base& msg);

    // Checks the frame held and, when acceptable, fills the message (after ResetMsg(0)).
    // Takes any bytes at all; never reads outside the buffer.
    bool ToMessage(CommMsg_base& msg) const;

    const std::uint8_t* Bytes() const { return m_pBytes.get(); }
    int Length() const { return m_nLength; }

private:
    std::unique_ptr<std::uint8_t[]> m_pBytes;
    int m_nLength = 0;
};

// Length of the whole frame at the front of the received bytes, or -1 when no whole
// frame is there yet (fewer than 6 bytes, a length below 1, or more than received).
int NextFrameLength(const std::uint8_t* stream, std::size_t count);

// Little-endian int32 at p.
std::int32_t ReadInt32LE(const std::uint8_t* p);
void WriteInt32LE(std::uint8_t* p, std::int32_t v);
