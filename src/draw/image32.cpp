#include "image32.h"

#include <algorithm>

Image32::Image32(int nWidth, int nHeight, bool bAlpha)
{
    // New storage is zeroed: the picture starts black and clear.
    Reshape(nWidth, nHeight, bAlpha);
}

void Image32::Reshape(int nWidth, int nHeight, bool bAlpha)
{
    if (nWidth <= 0 || nHeight <= 0 || nWidth > kMaxSide || nHeight > kMaxSide) {
        *this = Image32();
        return;
    }
    m_pixels.resize(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight));
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_bAlpha = bAlpha;
}

void Image32::Fill(std::uint32_t pixel)
{
    std::fill(m_pixels.begin(), m_pixels.end(), pixel);
}

Image32 Image32::Copy(const RECT& rc) const
{
    const RECT part = RectIntersection(rc, Rect());
    Image32 copy(RectWidth(part), RectHeight(part), m_bAlpha);
    for (int y = 0; y < copy.Height(); ++y) {
        const std::uint32_t* from = Line(part.top + y) + part.left;
        std::copy(from, from + copy.Width(), copy.Line(y));
    }
    return copy;
}

bool Image32::HoldsColour(COLORREF clr) const
{
    const std::uint32_t rgb = PixelRgb(clr);
    return std::any_of(m_pixels.begin(), m_pixels.end(), [rgb](std::uint32_t p) { return (p & kPixelRgb) == rgb; });
}
