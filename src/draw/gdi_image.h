#pragma once
#include <cstdint>

#include "draw/gdi_types.h"
#include "draw/image32.h"

class CDC;

// A picture decoded from received bytes, through the platform's decoders. Decoding runs
// under an allocation cap, so a picture that announces a huge size cannot exhaust
// memory, and a JPEG with far more scans than any encoder writes is refused before its
// decoding starts; such pictures, like undecodable ones, leave the image empty.
class CImage {
public:
    // Replaces the picture by the one decoded from the bytes; false when nothing was
    // decoded. A picture wider or taller than a non-empty `fitTo` is kept at most that
    // wide and tall, with uniform areas keeping their exact colour.
    bool Load(const std::uint8_t* data, int length, SIZE fitTo = {});
    void Destroy()
    {
        m_image = Image32();
        m_nSerial = 0;
    }

    bool IsNull() const { return m_image.IsNull(); }
    int GetWidth() const { return m_image.Width(); }
    int GetHeight() const { return m_image.Height(); }
    bool HasAlpha() const { return m_image.HasAlpha(); }
    // Memory the decoded picture holds.
    std::int64_t SizeInBytes() const { return static_cast<std::int64_t>(m_image.SizeInBytes()); }
    const Image32& Pixels() const { return m_image; }
    // Tells decoded pictures apart: a new one for every successful Load.
    std::uint64_t Serial() const { return m_nSerial; }

    // Stretches the whole picture onto the rectangle. Pictures with an alpha channel are
    // blended over what lies below, others are copied. Smoothing follows the context's
    // stretch mode.
    void Draw(CDC& dc, const RECT& dest) const;

private:
    Image32 m_image;
    std::uint64_t m_nSerial = 0;
};
