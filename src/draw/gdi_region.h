#pragma once
#include "draw/gdi_types.h"

// A rounded-rectangle region: the rectangle with corner ellipses nWidth by nHeight
// pixels. Regions are filled without antialiasing, like the hard-edged regions the
// screens were designed with. The drawing layer turns it into the platform's region.
class CRgn {
public:
    void CreateRoundRectRgn(int left, int top, int right, int bottom, int nWidth, int nHeight)
    {
        m_rect = RECT{left, top, right, bottom};
        m_nCornerWidth = nWidth;
        m_nCornerHeight = nHeight;
    }

    const RECT& Bounds() const { return m_rect; }
    int CornerWidth() const { return m_nCornerWidth; }
    int CornerHeight() const { return m_nCornerHeight; }
    // The region less a band of nWidth by nHeight pixels along its inside edge.
    CRgn Shrunk(int nWidth, int nHeight) const
    {
        CRgn inner;
        inner.CreateRoundRectRgn(m_rect.left + nWidth, m_rect.top + nHeight, m_rect.right - nWidth,
                                 m_rect.bottom - nHeight, m_nCornerWidth - 2 * nWidth, m_nCornerHeight - 2 * nHeight);
        return inner;
    }

private:
    RECT m_rect{};
    int m_nCornerWidth = 0;
    int m_nCornerHeight = 0;
};
