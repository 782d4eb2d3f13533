#include "text_fit.h"

#include <algorithm>

#include "display/drawing/font_cache.h"

namespace {

bool Fits(SIZE extent, SIZE room) { return extent.cx <= room.cx && extent.cy <= room.cy; }

int AxisOffset(int nLow, int nHigh, int nOuterLow, int nOuterHigh)
{
    if (nLow < nOuterLow || nHigh - nLow > nOuterHigh - nOuterLow) return nOuterLow - nLow;
    if (nHigh > nOuterHigh) return nOuterHigh - nHigh;
    return 0;
}

}  // namespace

int SelectFittingFont(CDC& dc, FontCache& fontCache, const std::u16string& text, const std::u16string& face, int nHeight,
                      SIZE room)
{
    const auto extentAt = [&](int height) {
        dc.SelectObject(fontCache.GetFont(FontDesc(height, face)));
        return dc.GetTextExtent(text);
    };
    SIZE extent = extentAt(nHeight);
    if (Fits(extent, room)) return nHeight;

    // Scale the text to the room, step down while the type's rounding leaves it too
    // large, then up while one pixel more still fits: a few cached fonts, and the largest
    // height that fits.
    int height = nHeight;
    while (!Fits(extent, room) && height > 1) {
        const long long byWidth = extent.cx > room.cx ? static_cast<long long>(height) * room.cx / extent.cx : height;
        const long long byHeight = extent.cy > room.cy ? static_cast<long long>(height) * room.cy / extent.cy : height;
        height = std::max(1, static_cast<int>(std::min({byWidth, byHeight, static_cast<long long>(height) - 1})));
        extent = extentAt(height);
    }
    while (height + 1 < nHeight && Fits(extentAt(height + 1), room)) ++height;
    dc.SelectObject(fontCache.GetFont(FontDesc(height, face)));
    return height;
}

SIZE OffsetInside(const RECT& inner, const RECT& outer)
{
    return SIZE{AxisOffset(inner.left, inner.right, outer.left, outer.right),
                AxisOffset(inner.top, inner.bottom, outer.top, outer.bottom)};
}
