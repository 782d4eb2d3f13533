#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/colour.h"
#include "draw/gdi_types.h"

// A picture of 32-bit pixels that owns them: 0xAARRGGBB in the machine's byte order,
// which is the layout of a Qt RGB32 image and of a Windows 32-bit DIB alike, so either
// platform draws on it in place. Without alpha the top byte carries nothing; with alpha
// the colours are premultiplied. Lines follow each other without padding.
class Image32 {
public:
    // Beyond a 16384-pixel screen's worth in either direction nothing is made: an empty
    // image, as for a zero or negative size.
    static constexpr int kMaxSide = 16384;

    Image32() = default;
    Image32(int nWidth, int nHeight, bool bAlpha = false);

    // Makes this an image of that size for a picture about to be written over whole: the
    // storage it has is kept when it is large enough (its pixels are then whatever they
    // were), so a picture taken again and again touches no new memory. Null beyond kMaxSide.
    void Reshape(int nWidth, int nHeight, bool bAlpha = false);

    bool IsNull() const { return m_pixels.empty(); }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    RECT Rect() const { return RECT{0, 0, m_nWidth, m_nHeight}; }
    bool HasAlpha() const { return m_bAlpha; }
    std::size_t SizeInBytes() const { return m_pixels.size() * sizeof(std::uint32_t); }

    std::uint32_t* Line(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * Stride(); }
    const std::uint32_t* Line(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * Stride(); }
    std::uint32_t Pixel(int x, int y) const { return Line(y)[x]; }
    std::uint32_t* Bits() { return m_pixels.data(); }
    const std::uint32_t* Bits() const { return m_pixels.data(); }

    void Fill(std::uint32_t pixel);
    // The part within the rectangle, cut to the image.
    Image32 Copy(const RECT& rc) const;
    // Whether any pixel has exactly the colour (the top byte is not compared).
    bool HoldsColour(COLORREF clr) const;

    friend bool operator==(const Image32& a, const Image32& b) = default;

private:
    std::size_t Stride() const { return static_cast<std::size_t>(m_nWidth); }

    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bAlpha = false;
    std::vector<std::uint32_t> m_pixels;
};
