#pragma once
#include <windows.h>

#include "platform/gdi_dc.h"
#include "platform/win32/dib_section.h"

// The drawing vocabulary over real GDI, on a 32-bit DIB section in a memory context.
// Over an Image32 it starts from the image's pixels and hands them back when it ends:
// GDI cannot draw in memory it did not allocate.
class GdiDC : public CDC {
public:
    // In the coordinates of a picture whose part at `origin` the image is.
    GdiDC(Image32& target, POINT origin);
    ~GdiDC() override;

protected:
    void OnFill(const RECT& rc, COLORREF clr) override;
    void OnBlend(const RECT& rc, std::uint32_t argb) override;
    void OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight) override;
    void OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip) override;
    void OnPicture(const CImage& picture, const RECT& dest) override;
    void OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey) override;
    void OnClip(const std::vector<RECT>* pRects) override;

private:
    HDC Dc() const { return m_dib.Dc(); }

    Image32& m_target;
    POINT m_origin;
    DibSection m_dib;
};
