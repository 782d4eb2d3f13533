#include "win32_dc.h"

#include <cstring>

#include "draw/gdi_font.h"
#include "draw/gdi_image.h"
#include "draw/gdi_region.h"
#include "draw/win32/region_rects.h"
#include "draw/win32/win32_font.h"
#include "draw/win32/win32_halftoned.h"
#include "draw/win32/win32_round_region.h"

GdiDC::GdiDC(DibSection& target) : m_pPixels(&target), m_origin{}, m_saved(target.Dc())
{
    Prepare();
}

GdiDC::GdiDC(Image32& target, POINT origin)
    : m_pCopy(std::make_unique<DibSection>(target)),
      m_pImage(&target),
      m_pPixels(m_pCopy.get()),
      m_origin(origin),
      m_saved(m_pCopy->Dc())
{
    Prepare();
}

void GdiDC::Prepare()
{
    SetViewportOrgEx(Dc(), -m_origin.x, -m_origin.y, nullptr);
    // The core fills an opaque text cell itself.
    ::SetBkMode(Dc(), TRANSPARENT);
    SetTextAlign(Dc(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

GdiDC::~GdiDC()
{
    if (m_pImage == nullptr || m_pPixels->Bits() == nullptr) return;
    GdiFlush();
    std::memcpy(m_pImage->Bits(), m_pPixels->Bits(), m_pImage->SizeInBytes());
    if (!m_pImage->HasAlpha()) MakeOpaque(m_pImage->Bits(), m_pImage->SizeInBytes() / 4);
}

void GdiDC::OnFill(const RECT& rc, COLORREF clr)
{
    const UniqueBrush brush(CreateSolidBrush(clr));
    ::FillRect(Dc(), &rc, brush.get());
}

void GdiDC::OnBlend(const RECT& rc, std::uint32_t argb)
{
    if (m_pPixels->Bits() == nullptr) return;
    // Blended here on the pixels, as AlphaBlend blends an opaque source at a constant
    // alpha: a translucent box behind a running clock is blended once a second, and
    // AlphaBlend of one stretched pixel first stretches it over the whole box.
    GdiFlush();
    const RECT area = RectIntersection(RectOffset(rc, -m_origin.x, -m_origin.y),
                                       RECT{0, 0, m_pPixels->Width(), m_pPixels->Height()});
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t source = argb | 0xFF000000u;
    const auto mix = [alpha](std::uint32_t s, std::uint32_t d) { return (s * alpha + d * (255 - alpha) + 127) / 255; };
    const std::vector<RECT> whole{area};
    for (const RECT& clip : m_clipPixels ? *m_clipPixels : whole) {
        const RECT part = RectIntersection(area, clip);
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t* line = m_pPixels->Bits() + static_cast<std::size_t>(y) * m_pPixels->Width();
            for (int x = part.left; x < part.right; ++x) {
                std::uint32_t out = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    out |= mix((source >> shift) & 0xFF, (line[x] >> shift) & 0xFF) << shift;
                }
                line[x] = out;
            }
        }
    }
}

void GdiDC::OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight)
{
    const UniqueRgn area = RoundRectRgn(rgn);
    if (nFrameWidth > 0 || nFrameHeight > 0) {
        const UniqueRgn inner = RoundRectRgn(rgn.Shrunk(nFrameWidth, nFrameHeight));
        CombineRgn(area.get(), area.get(), inner.get(), RGN_DIFF);
    }
    const UniqueBrush brush(CreateSolidBrush(clr));
    ::FillRgn(Dc(), area.get(), brush.get());
}

void GdiDC::OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip)
{
    const ScopedSaveDC saved(Dc());
    if (pClip != nullptr) IntersectClipRect(Dc(), pClip->left, pClip->top, pClip->right, pClip->bottom);
    const ScopedSelect font(Dc(), GetCurrentFont()->NativeFont().hFont.get());
    ::SetTextColor(Dc(), GetTextColor());
    ExtTextOutW(Dc(), cell.left, cell.top, 0, nullptr, reinterpret_cast<const wchar_t*>(line.data()),
                static_cast<UINT>(line.size()), nullptr);
}

void GdiDC::OnPicture(const CImage& picture, const RECT& dest)
{
    const Image32& pixels = picture.Pixels();
    // AlphaBlend stretches without halftoning whatever the mode says.
    if (!picture.HasAlpha() && GetStretchBltMode() == HALFTONE) {
        DrawHalftoned(Dc(), picture, dest);
        return;
    }
    const ScopedSaveDC saved(Dc());
    // Pixels of a stretched picture come from the one source pixel they fall on:
    // BLACKONWHITE would AND the colours of dropped pixels.
    ::SetStretchBltMode(Dc(), COLORONCOLOR);
    if (picture.HasAlpha()) {
        const DibSection source(pixels);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(Dc(), dest.left, dest.top, RectWidth(dest), RectHeight(dest), source.Dc(), 0, 0,
                   pixels.Width(), pixels.Height(), blend);
        return;
    }
    const BITMAPINFO info = TopDownInfo(pixels.Width(), pixels.Height());
    StretchDIBits(Dc(), dest.left, dest.top, RectWidth(dest), RectHeight(dest), 0, 0, pixels.Width(),
                  pixels.Height(), pixels.Bits(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void GdiDC::OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey)
{
    const DibSection source(picture);
    // GDI matches the key against the whole pixel, and the top byte is no part of a colour.
    for (std::size_t i = 0, n = picture.SizeInBytes() / 4; source.Bits() != nullptr && i < n; ++i) {
        source.Bits()[i] &= 0x00FFFFFFu;
    }
    ::TransparentBlt(Dc(), at.x, at.y, picture.Width(), picture.Height(), source.Dc(), 0, 0, picture.Width(),
                     picture.Height(), clrKey);
}

void GdiDC::OnClip(const std::vector<RECT>* pRects)
{
    if (pRects == nullptr) {
        SelectClipRgn(Dc(), nullptr);
        m_clipPixels.reset();
        return;
    }
    // A clip region is in the bitmap's own pixels, not in the coordinates drawn in.
    const UniqueRgn clip(CreateRectRgn(0, 0, 0, 0));
    for (const RECT& rc : *pRects) {
        const UniqueRgn part(CreateRectRgn(rc.left - m_origin.x, rc.top - m_origin.y, rc.right - m_origin.x,
                                           rc.bottom - m_origin.y));
        CombineRgn(clip.get(), clip.get(), part.get(), RGN_OR);
    }
    SelectClipRgn(Dc(), clip.get());
    m_clipPixels = RegionRects(clip.get());
}

std::unique_ptr<CDC> CreateImageDC(Image32& target, POINT origin)
{
    return std::make_unique<GdiDC>(target, origin);
}
