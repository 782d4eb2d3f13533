#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/colour.h"
#include "draw/drawing_record.h"
#include "draw/gdi_types.h"
#include "draw/image32.h"

class CBrush;
class CFont;
class CImage;
class CRgn;

// A device context: the drawing vocabulary the screens use, in pixels. The state (font,
// colours, modes, clip) and the layout of text live here, the same on every platform;
// the platform's drawing layer puts the pixels down. Like the context of a fresh memory
// bitmap it starts with a stock font, black text, an opaque white background mode and
// the non-smoothing stretch mode, drawing everywhere.
//
// Every operation knows the pixels it may touch before it draws; an operation wholly
// outside the clip is left out, and with a record attached every operation is noted in
// it, drawn or not. Only one thread draws through a given context.
class CDC {
public:
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Each setter hands back the value it replaced, so callers can put it back.
    // Selecting a font that could not be created changes nothing and returns the current one.
    CFont* SelectObject(CFont* pFont);
    CFont* GetCurrentFont() const { return m_pFont; }
    COLORREF SetTextColor(COLORREF clr);
    COLORREF GetTextColor() const { return m_clrText; }
    int SetBkMode(int nMode);
    int GetBkMode() const { return m_nBkMode; }
    COLORREF SetBkColor(COLORREF clr);
    int SetStretchBltMode(int nMode);
    int GetStretchBltMode() const { return m_nStretchMode; }

    void FillRect(const RECT& rc, const CBrush& brush);
    // Fills with the colour and leaves it as the background colour.
    void FillSolidRect(const RECT& rc, COLORREF clr);
    // A colour with alpha (0xAARRGGBB) blended over the rectangle.
    void FillArgbRect(const RECT& rc, std::uint32_t argb);
    // The region filled, and framed by a band of the given widths inside its edge.
    void FillRgn(const CRgn& rgn, const CBrush& brush);
    void FrameRgn(const CRgn& rgn, const CBrush& brush, int nWidth, int nHeight);

    // Width of the text and cell height of the selected font.
    SIZE GetTextExtent(const std::u16string& text) const;
    // Draws the text in the rectangle with the DT_ format bits; clipped to the rectangle
    // unless DT_NOCLIP is given. Returns the height of the text drawn.
    int DrawText(const std::u16string& text, const RECT& rc, unsigned nFormat);
    // The cell DrawText lays a one-line text out in (DT_SINGLELINE): its width in the
    // selected font by the font's cell height, placed in the rectangle by the format bits.
    // Lets a caller see where a text would land before drawing it.
    RECT GetTextCell(const std::u16string& text, const RECT& rc, unsigned nFormat) const;

    // The whole picture stretched onto the rectangle (CImage::Draw).
    void DrawPicture(const CImage& picture, const RECT& dest);
    // The picture copied with its top left at `at`, leaving every pixel of the key
    // colour as it was below.
    void TransparentBlt(const Image32& picture, POINT at, COLORREF clrKey);

    // From now on only these rectangles are drawn on; an empty list draws nowhere.
    void SetClipRects(std::vector<RECT> rects);
    // Draws everywhere again.
    void ClearClip();

    // Notes every operation in the record from now on; null stops.
    void SetRecord(DrawingRecord* pRecord) { m_pRecord = pRecord; }

protected:
    CDC();

    // The platform's part: the pixels. Called only for operations that reach the clip.
    virtual void OnFill(const RECT& rc, COLORREF clr) = 0;
    virtual void OnBlend(const RECT& rc, std::uint32_t argb) = 0;
    // A filled region, or with a non-zero frame the band inside its edge.
    virtual void OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight) = 0;
    // One line in the selected font and text colour, its pen at the cell's left on the
    // baseline; clipped to *pClip when given. The cell's background is already drawn.
    virtual void OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip) = 0;
    virtual void OnPicture(const CImage& picture, const RECT& dest) = 0;
    virtual void OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey) = 0;
    // The clip changed: the rectangles to draw on, or null for everywhere.
    virtual void OnClip(const std::vector<RECT>* pRects) = 0;

private:
    RECT LineCell(const std::u16string& line, const RECT& rc, unsigned nFormat, int y) const;
    void DrawTextLine(const std::u16string& line, const RECT& cell, const RECT& rc, unsigned nFormat);
    // The bounds cut to the clip; empty when nothing of them is drawn.
    RECT Clipped(const RECT& bounds) const;
    // Notes the operation and says whether any of it is to be drawn.
    bool Note(DrawnOp op);
    DrawnOp Op(DrawnOp::Kind kind, const RECT& area, const RECT& bounds) const;

    CFont* m_pFont;
    COLORREF m_clrText = RGB(0, 0, 0);
    COLORREF m_clrBk = RGB(255, 255, 255);
    int m_nBkMode = OPAQUE;
    int m_nStretchMode = BLACKONWHITE;
    bool m_bClipped = false;
    std::vector<RECT> m_clip;
    DrawingRecord* m_pRecord = nullptr;
};

// A context over an image, from the platform's drawing layer: everything is drawn in the
// coordinates of a larger picture whose part at `origin` the image is, and lands on the
// image shifted by -origin, exactly as those pixels would in the larger picture. The
// image must outlive the context.
std::unique_ptr<CDC> CreateImageDC(Image32& target, POINT origin = {});

// A context that draws nothing and only notes what would be drawn: how a screen is
// measured, and what tests read its layout from. Text is measured in real fonts.
class CRecordDC : public CDC {
public:
    CRecordDC() { SetRecord(&m_record); }
    const DrawingRecord& Record() const { return m_record; }
    DrawingRecord& Record() { return m_record; }

protected:
    void OnFill(const RECT&, COLORREF) override {}
    void OnBlend(const RECT&, std::uint32_t) override {}
    void OnRegion(const CRgn&, COLORREF, int, int) override {}
    void OnTextLine(const std::u16string&, const RECT&, const RECT*) override {}
    void OnPicture(const CImage&, const RECT&) override {}
    void OnTransparentBlt(const Image32&, POINT, COLORREF) override {}
    void OnClip(const std::vector<RECT>*) override {}

private:
    DrawingRecord m_record;
};
