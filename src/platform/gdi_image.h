#pragma once
#include <QImage>

#include <cstdint>

class CDC;

// A picture decoded from received bytes. Any format that this machine's image plugins
// read is accepted (PNG, JPEG, BMP, GIF, and TIFF, WebP and the like with the extra
// plugins). Decoding runs under an allocation cap, so a picture that announces a huge
// size cannot exhaust memory; such a picture, like an undecodable one, leaves the image
// empty.
class CImage {
public:
    static constexpr int kAllocationLimitMiB = 256;

    // Replaces the picture by the one decoded from the bytes; false when nothing was decoded.
    bool Load(const std::uint8_t* data, int length);
    void Destroy() { m_image = QImage(); }

    bool IsNull() const { return m_image.isNull(); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    bool HasAlpha() const { return m_image.hasAlphaChannel(); }

    // Stretches the source rectangle onto the destination one. Pictures with an alpha
    // channel (transparent colours included) are blended over what lies below, others
    // are copied. Smoothing follows the context's stretch mode.
    void Draw(CDC& dc, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc, int nSrcWidth,
              int nSrcHeight) const;

private:
    QImage m_image;
};
