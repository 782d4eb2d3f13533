#pragma once
#include <QImage>

#include <cstdint>

#include "platform/gdi_types.h"

class CDC;

// A picture decoded from received bytes. Any format that this machine's image plugins
// read is accepted (PNG, JPEG, BMP, GIF, and TIFF, WebP and the like with the extra
// plugins). Decoding runs under an allocation cap, so a picture that announces a huge
// size cannot exhaust memory, and a JPEG with far more scans than any encoder writes is
// refused before its decoding starts; such pictures, like undecodable ones, leave the
// image empty.
class CImage {
public:
    static constexpr int kAllocationLimitMiB = 256;

    // Replaces the picture by the one decoded from the bytes; false when nothing was
    // decoded. A picture wider or taller than a valid `fitTo` is kept at most that wide
    // and tall (it is stretched to the screen anyway), with uniform areas keeping their
    // exact colour.
    bool Load(const std::uint8_t* data, int length, QSize fitTo = {});
    void Destroy()
    {
        m_image = QImage();
        m_nSerial = 0;
    }

    bool IsNull() const { return m_image.isNull(); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    bool HasAlpha() const { return m_image.hasAlphaChannel(); }
    // Memory the decoded picture holds.
    qint64 SizeInBytes() const { return m_image.sizeInBytes(); }

    // Stretches the whole picture onto the rectangle. Pictures with an alpha channel
    // (transparent colours included) are blended over what lies below, others are copied.
    // Smoothing follows the context's stretch mode. The stretched picture of the latest
    // size is kept, process-wide for one picture at a time, so a steady screen scales once.
    void Draw(CDC& dc, const RECT& dest) const;

private:
    QImage m_image;
    std::uint64_t m_nSerial = 0;  // tells decoded pictures apart for the stretched copy
};
