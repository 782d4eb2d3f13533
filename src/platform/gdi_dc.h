#pragma once
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>

#include "platform/colour.h"
#include "platform/gdi_types.h"

class CBrush;
class CFont;
class CRgn;

// A device context over an image: the drawing vocabulary the screens use, in pixels.
// Like the context of a fresh memory bitmap it starts with a stock font, black text,
// an opaque white background mode and the non-smoothing stretch mode. Only one thread
// draws through a given context.
class CDC {
public:
    explicit CDC(QImage& target);
    // A context for the part of a larger picture that starts at `origin`: everything is
    // drawn in the larger picture's coordinates and lands on the target shifted by
    // -origin, exactly as those pixels would in the larger picture.
    CDC(QImage& target, QPoint origin);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    int Width() const { return m_target.width(); }
    int Height() const { return m_target.height(); }

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
    // A colour with alpha (0xAARRGGBB) blended over the floating-point rectangle.
    void FillArgbRect(double x, double y, double width, double height, std::uint32_t argb);
    // The region filled, and framed by a band of the given widths inside its edge.
    void FillRgn(const CRgn& rgn, const CBrush& brush);
    void FrameRgn(const CRgn& rgn, const CBrush& brush, int nWidth, int nHeight);

    // Width of the text and cell height of the selected font.
    SIZE GetTextExtent(const QString& text) const;
    // Draws the text in the rectangle with the DT_ format bits; clipped to the rectangle
    // unless DT_NOCLIP is given. Returns the height of the text drawn.
    int DrawText(const QString& text, const RECT& rc, unsigned nFormat);
    // The cell DrawText lays a one-line text out in (DT_SINGLELINE): its width in the
    // selected font by the font's cell height, placed in the rectangle by the format bits.
    // Lets a caller see where a text would land before drawing it.
    RECT GetTextCell(const QString& text, const RECT& rc, unsigned nFormat) const;

    QPainter& Painter() { return m_painter; }

private:
    RECT LineCell(const QString& line, const RECT& rc, unsigned nFormat, int y) const;
    void DrawTextLine(const QString& line, const RECT& cell, const RECT& clip, unsigned nFormat);

    QImage& m_target;
    QPoint m_origin;
    QPainter m_painter;
    CFont* m_pFont;
    COLORREF m_clrText = RGB(0, 0, 0);
    COLORREF m_clrBk = RGB(255, 255, 255);
    int m_nBkMode = OPAQUE;
    int m_nStretchMode = BLACKONWHITE;
};
