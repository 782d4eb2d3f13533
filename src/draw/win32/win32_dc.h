#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "draw/gdi_dc.h"
#include "draw/win32/dib_section.h"

// The drawing vocabulary over real GDI, on a 32-bit DIB section in a memory context.
// Over a DIB section it draws in place, and the section's context is as it found it when
// it ends. Over an Image32 it starts from a copy of the image's pixels and hands them
// back when it ends: GDI cannot draw in memory it did not allocate.
class GdiDC : public CDC {
public:
    // In the section's own coordinates.
    explicit GdiDC(DibSection& target);
    // In the coordinates of a picture whose part at `origin` the image is.
    GdiDC(Image32& target, POINT origin);
    ~GdiDC() override;
    GdiDC(const GdiDC&) = delete;
    GdiDC& operator=(const GdiDC&) = delete;

protected:
    void OnFill(const RECT& rc, COLORREF clr) override;
    void OnBlend(const RECT& rc, std::uint32_t argb) override;
    void OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight) override;
    void OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip) override;
    void OnPicture(const CImage& picture, const RECT& dest) override;
    void OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey) override;
    void OnClip(const std::vector<RECT>* pRects) override;

private:
    void Prepare();
    HDC Dc() const { return m_pPixels->Dc(); }

    // Over an Image32: the copy drawn on, and the image it goes back to.
    std::unique_ptr<DibSection> m_pCopy;
    Image32* m_pImage = nullptr;
    DibSection* m_pPixels;
    POINT m_origin;
    // The clip in the section's own pixels; none while drawing is not clipped.
    std::optional<std::vector<RECT>> m_clipPixels;
    // Everything set on the context while drawing goes back with it.
    ScopedSaveDC m_saved;
};
