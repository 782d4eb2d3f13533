#include "win32_halftoned.h"

#include <cstdint>
#include <mutex>

#include "draw/win32/dib_section.h"

namespace {

struct HalftonedPicture {
    std::uint64_t serial = 0;
    SIZE size{};
    Image32 pixels;
};
// Shared by every context, so guarded, though only the window thread draws in the
// running program.
std::mutex g_mtxHalftoned;
HalftonedPicture g_halftoned;

// HALFTONE reads the brush origin, which it asks to be set after the mode.
void Halftone(HDC hdc, const Image32& source, const RECT& dest)
{
    ::SetStretchBltMode(hdc, HALFTONE);
    SetBrushOrgEx(hdc, 0, 0, nullptr);
    const BITMAPINFO info = TopDownInfo(source.Width(), source.Height());
    StretchDIBits(hdc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), 0, 0, source.Width(), source.Height(),
                  source.Bits(), &info, DIB_RGB_COLORS, SRCCOPY);
}

Image32 HalftonedWhole(const Image32& source, SIZE size)
{
    const DibSection whole(size.cx, size.cy);
    if (whole.Bits() == nullptr) return Image32();
    Halftone(whole.Dc(), source, RECT{0, 0, size.cx, size.cy});
    return whole.OpaqueCopy();
}

}  // namespace

void DrawHalftoned(HDC hdc, const CImage& picture, const RECT& dest)
{
    const ScopedSaveDC saved(hdc);
    const SIZE size{RectWidth(dest), RectHeight(dest)};
    const std::lock_guard<std::mutex> lock(g_mtxHalftoned);
    if (g_halftoned.serial != picture.Serial() || g_halftoned.size.cx != size.cx || g_halftoned.size.cy != size.cy) {
        // The old one goes first: never two screens' worth held at once.
        g_halftoned = HalftonedPicture{};
        g_halftoned = HalftonedPicture{picture.Serial(), size, HalftonedWhole(picture.Pixels(), size)};
    }
    const Image32& whole = g_halftoned.pixels;
    if (whole.IsNull()) {
        // Too large to keep: halftoned in place, at the cost of a clipped part's own shading.
        Halftone(hdc, picture.Pixels(), dest);
        return;
    }
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    const BITMAPINFO info = TopDownInfo(whole.Width(), whole.Height());
    StretchDIBits(hdc, dest.left, dest.top, size.cx, size.cy, 0, 0, size.cx, size.cy, whole.Bits(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}
