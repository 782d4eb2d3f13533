#include "gdi_dc.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "draw/drawing_lifetime.h"
#include "draw/gdi_brush.h"
#include "draw/gdi_font.h"
#include "draw/gdi_image.h"
#include "draw/gdi_region.h"

namespace {

// The font a fresh context has, like the stock font of a memory bitmap's context.
std::unique_ptr<CFont>& StockFontSlot()
{
    static std::unique_ptr<CFont> font;
    return font;
}

CFont* StockFont()
{
    std::unique_ptr<CFont>& font = StockFontSlot();
    if (!font) {
        font = std::make_unique<CFont>();
        font->CreateFont(16, FW_NORMAL, false, false, u"DejaVu Sans");
        AtDrawingExit([] { StockFontSlot().reset(); });
    }
    return font.get();
}

// Splits text at CR LF, CR or LF.
std::vector<std::u16string> Lines(const std::u16string& text)
{
    std::vector<std::u16string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

CDC::CDC() : m_pFont(StockFont()) {}

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* previous = m_pFont;
    if (pFont != nullptr && !pFont->IsNull()) m_pFont = pFont;
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF clr)
{
    return std::exchange(m_clrText, clr);
}

int CDC::SetBkMode(int nMode)
{
    return std::exchange(m_nBkMode, nMode);
}

COLORREF CDC::SetBkColor(COLORREF clr)
{
    return std::exchange(m_clrBk, clr);
}

int CDC::SetStretchBltMode(int nMode)
{
    return std::exchange(m_nStretchMode, nMode);
}

void CDC::SetClipRects(std::vector<RECT> rects)
{
    m_bClipped = true;
    m_clip = std::move(rects);
    OnClip(&m_clip);
}

void CDC::ClearClip()
{
    m_bClipped = false;
    m_clip.clear();
    OnClip(nullptr);
}

RECT CDC::Clipped(const RECT& bounds) const
{
    if (!m_bClipped) return IsRectEmpty(bounds) ? RECT{} : bounds;
    RECT reach{};
    for (const RECT& rc : m_clip) reach = RectUnion(reach, RectIntersection(bounds, rc));
    return reach;
}

DrawnOp CDC::Op(DrawnOp::Kind kind, const RECT& area, const RECT& bounds) const
{
    DrawnOp op;
    op.kind = kind;
    op.area = area;
    op.bounds = Clipped(bounds);
    return op;
}

bool CDC::Note(DrawnOp op)
{
    const bool bDrawn = !IsRectEmpty(op.bounds);
    if (m_pRecord != nullptr) m_pRecord->Add(std::move(op));
    return bDrawn;
}

void CDC::FillRect(const RECT& rc, const CBrush& brush)
{
    DrawnOp op = Op(DrawnOp::Kind::Fill, rc, rc);
    op.clr = brush.Colour();
    if (Note(std::move(op))) OnFill(rc, brush.Colour());
}

void CDC::FillSolidRect(const RECT& rc, COLORREF clr)
{
    m_clrBk = clr;
    DrawnOp op = Op(DrawnOp::Kind::Fill, rc, rc);
    op.clr = clr;
    if (Note(std::move(op))) OnFill(rc, clr);
}

void CDC::FillArgbRect(const RECT& rc, std::uint32_t argb)
{
    DrawnOp op = Op(DrawnOp::Kind::Blend, rc, rc);
    op.nArgb = argb;
    if (Note(std::move(op))) OnBlend(rc, argb);
}

void CDC::FillRgn(const CRgn& rgn, const CBrush& brush)
{
    DrawnOp op = Op(DrawnOp::Kind::Region, rgn.Bounds(), rgn.Bounds());
    op.clr = brush.Colour();
    op.nCornerWidth = rgn.CornerWidth();
    op.nCornerHeight = rgn.CornerHeight();
    if (Note(std::move(op))) OnRegion(rgn, brush.Colour(), 0, 0);
}

void CDC::FrameRgn(const CRgn& rgn, const CBrush& brush, int nWidth, int nHeight)
{
    DrawnOp op = Op(DrawnOp::Kind::Region, rgn.Bounds(), rgn.Bounds());
    op.clr = brush.Colour();
    op.nCornerWidth = rgn.CornerWidth();
    op.nCornerHeight = rgn.CornerHeight();
    op.nFrameWidth = nWidth;
    op.nFrameHeight = nHeight;
    if ((nWidth > 0 || nHeight > 0) && Note(std::move(op))) OnRegion(rgn, brush.Colour(), nWidth, nHeight);
}

SIZE CDC::GetTextExtent(const std::u16string& text) const
{
    return SIZE{m_pFont->TextWidth(text), m_pFont->CellHeight()};
}

int CDC::DrawText(const std::u16string& text, const RECT& rc, unsigned nFormat)
{
    const int cell = m_pFont->CellHeight();
    if ((nFormat & DT_SINGLELINE) != 0) {
        DrawTextLine(text, GetTextCell(text, rc, nFormat), rc, nFormat);
        return cell;
    }
    // Several lines go down from the top whatever the vertical bits say.
    const std::vector<std::u16string> lines = Lines(text);
    int y = rc.top;
    for (const std::u16string& line : lines) {
        DrawTextLine(line, LineCell(line, rc, nFormat, y), rc, nFormat);
        y += cell;
    }
    return cell * static_cast<int>(lines.size());
}

RECT CDC::GetTextCell(const std::u16string& text, const RECT& rc, unsigned nFormat) const
{
    const int cell = m_pFont->CellHeight();
    int y = rc.top;
    if ((nFormat & DT_VCENTER) != 0) {
        y = rc.top + (rc.bottom - rc.top - cell) / 2;
    } else if ((nFormat & DT_BOTTOM) != 0) {
        y = rc.bottom - cell;
    }
    return LineCell(text, rc, nFormat, y);
}

RECT CDC::LineCell(const std::u16string& line, const RECT& rc, unsigned nFormat, int y) const
{
    const int cx = m_pFont->TextWidth(line);
    const int x = (nFormat & DT_CENTER) != 0 ? rc.left + (rc.right - rc.left - cx) / 2 : rc.left;
    return RECT{x, y, x + cx, y + m_pFont->CellHeight()};
}

void CDC::DrawTextLine(const std::u16string& line, const RECT& cell, const RECT& rc, unsigned nFormat)
{
    const bool bClip = (nFormat & DT_NOCLIP) == 0;
    RECT bounds = RectOffset(m_pFont->InkBox(line), cell.left, cell.top + m_pFont->Ascent());
    if (m_nBkMode == OPAQUE) bounds = RectUnion(bounds, cell);
    if (bClip) bounds = RectIntersection(bounds, rc);

    DrawnOp op = Op(DrawnOp::Kind::Text, cell, bounds);
    op.clr = m_clrText;
    op.text = line;
    op.font = m_pFont->Key();
    op.clip = bClip ? rc : RECT{};
    op.nBkMode = m_nBkMode;
    op.clrBk = m_nBkMode == OPAQUE ? m_clrBk : 0;
    if (!Note(std::move(op))) return;
    if (m_nBkMode == OPAQUE) {
        const RECT fill = bClip ? RectIntersection(cell, rc) : cell;
        if (!IsRectEmpty(fill)) OnFill(fill, m_clrBk);
    }
    OnTextLine(line, cell, bClip ? &rc : nullptr);
}

void CDC::DrawPicture(const CImage& picture, const RECT& dest)
{
    DrawnOp op = Op(DrawnOp::Kind::Picture, dest, picture.IsNull() ? RECT{} : dest);
    op.nPicture = picture.Serial();
    op.nStretchMode = m_nStretchMode;
    if (Note(std::move(op))) OnPicture(picture, dest);
}

void CDC::TransparentBlt(const Image32& picture, POINT at, COLORREF clrKey)
{
    const RECT area = RectOffset(picture.Rect(), at.x, at.y);
    DrawnOp op = Op(DrawnOp::Kind::Keyed, area, area);
    op.clr = clrKey;
    if (Note(std::move(op))) OnTransparentBlt(picture, at, clrKey);
}
