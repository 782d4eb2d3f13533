#include "draw_kit.h"

#include <algorithm>

#include "display/drawing/colour_math.h"
#include "display/drawing/font_cache.h"
#include "draw/gdi_brush.h"
#include "draw/gdi_font.h"
#include "draw/gdi_region.h"
#include "draw/gdi_saved_state.h"

int FittedHeight(int nTextWidth, int nRoom, int nHeight)
{
    if (nTextWidth <= nRoom) return nHeight;
    const int percent = std::min(static_cast<int>(static_cast<long long>(nRoom) * 100 / nTextWidth), 95);
    return nHeight * percent / 100;
}

void DrawFittedText(CDC& dc, FontCache& fontCache, const std::u16string& text, RECT rect, unsigned nFormat,
                    const std::u16string& face, int nHeight)
{
    if (text.empty()) return;
    const int width = dc.GetTextExtent(text).cx;
    const int room = rect.right - rect.left;
    if (width <= room) {
        dc.DrawText(text, rect, nFormat);
        return;
    }
    if (room <= 0) return;
    // The first shrink is in proportion to the excess; type does not scale exactly, so a
    // text still too wide is shrunk again until it fits, never cut off at the edge. The
    // fonts come from the cache: a tick that draws the same line again makes none.
    int height = FittedHeight(width, room, nHeight);
    CFont* shrunk = fontCache.GetFont(FontDesc(height, face));
    int shrunkWidth = shrunk->TextWidth(text);
    while (shrunkWidth > room && height > 1) {
        const int scaled = static_cast<int>(static_cast<long long>(height) * room / shrunkWidth);
        height = std::max(1, std::min(height - 1, scaled));
        shrunk = fontCache.GetFont(FontDesc(height, face));
        shrunkWidth = shrunk->TextWidth(text);
    }
    // A text that fits in no size at all is left out rather than cut.
    if (shrunkWidth > room) return;
    const ScopedFont selected(dc, shrunk);
    dc.DrawText(text, rect, nFormat);
}

void DrawBarBox(CDC& dc, RECT rect, COLORREF clrFill)
{
    if (IsRectEmpty(rect)) return;
    const int h = rect.bottom - rect.top;
    const COLORREF clrFrame = BlendColour(clrFill, ContrastColour(clrFill), 20);
    const int frame = std::max(h * 5 / 100, 2);
    const int corner = h * 15 / 100;

    CRgn region;
    region.CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, corner, corner);
    dc.FillRgn(region, CBrush(clrFill));
    dc.FrameRgn(region, CBrush(clrFrame), frame, frame);
}

void FillTranslucent(CDC& dc, RECT rect)
{
    dc.FillArgbRect(RECT{rect.left, rect.top, rect.right - 1, rect.bottom - 1}, kTranslucentArgb);
}
