#include "gdi_dc.h"

#include <QCoreApplication>
#include <QPainterPath>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>

#include <memory>
#include <optional>

#include "gdi_brush.h"
#include "gdi_font.h"
#include "gdi_region.h"
#include "gdi_text_record.h"
#include "gdi_text_runs.h"

namespace {

// The font a fresh context has, like the stock font of a memory bitmap's context. Freed
// while the application object still stands, as fonts must not outlive it.
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
        font->CreateFont(16, FW_NORMAL, false, false, QStringLiteral("DejaVu Sans"));
        qAddPostRoutine([] { StockFontSlot().reset(); });
    }
    return font.get();
}

QRect ToQRect(const RECT& rc) { return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top); }

}  // namespace

CDC::CDC(QImage& target) : m_target(target), m_painter(&target), m_pFont(StockFont()) {}

CDC::CDC(QImage& target, QPoint origin) : m_target(target), m_origin(origin), m_painter(&target), m_pFont(StockFont())
{
    m_painter.translate(-origin);
}

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* previous = m_pFont;
    if (pFont != nullptr && !pFont->IsNull()) m_pFont = pFont;
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF clr)
{
    const COLORREF previous = m_clrText;
    m_clrText = clr;
    return previous;
}

int CDC::SetBkMode(int nMode)
{
    const int previous = m_nBkMode;
    m_nBkMode = nMode;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF clr)
{
    const COLORREF previous = m_clrBk;
    m_clrBk = clr;
    return previous;
}

int CDC::SetStretchBltMode(int nMode)
{
    const int previous = m_nStretchMode;
    m_nStretchMode = nMode;
    return previous;
}

void CDC::FillRect(const RECT& rc, const CBrush& brush)
{
    if (IsRectEmpty(rc)) return;
    m_painter.fillRect(ToQRect(rc), brush.QtColour());
}

void CDC::FillSolidRect(const RECT& rc, COLORREF clr)
{
    m_clrBk = clr;
    if (IsRectEmpty(rc)) return;
    m_painter.fillRect(ToQRect(rc), ToQColor(clr));
}

void CDC::FillArgbRect(double x, double y, double width, double height, std::uint32_t argb)
{
    if (width <= 0 || height <= 0) return;
    m_painter.fillRect(QRectF(x, y, width, height), QColor::fromRgba(argb));
}

void CDC::FillRgn(const CRgn& rgn, const CBrush& brush)
{
    m_painter.fillPath(rgn.Path(), brush.QtColour());
}

void CDC::FrameRgn(const CRgn& rgn, const CBrush& brush, int nWidth, int nHeight)
{
    QPainterPath band = rgn.Path();
    band.addPath(rgn.Shrunk(nWidth, nHeight));
    band.setFillRule(Qt::OddEvenFill);
    m_painter.fillPath(band, brush.QtColour());
}

SIZE CDC::GetTextExtent(const QString& text) const
{
    return SIZE{m_pFont->Metrics().horizontalAdvance(text), m_pFont->CellHeight()};
}

int CDC::DrawText(const QString& text, const RECT& rc, unsigned nFormat)
{
    const int cell = m_pFont->CellHeight();
    if ((nFormat & DT_SINGLELINE) != 0) {
        DrawTextLine(text, GetTextCell(text, rc, nFormat), rc, nFormat);
        return cell;
    }
    // Several lines go down from the top whatever the vertical bits say.
    static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(kLineBreak);
    int y = rc.top;
    for (const QString& line : lines) {
        DrawTextLine(line, LineCell(line, rc, nFormat, y), rc, nFormat);
        y += cell;
    }
    return cell * static_cast<int>(lines.size());
}

RECT CDC::GetTextCell(const QString& text, const RECT& rc, unsigned nFormat) const
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

RECT CDC::LineCell(const QString& line, const RECT& rc, unsigned nFormat, int y) const
{
    const int cx = m_pFont->Metrics().horizontalAdvance(line);
    const int x = (nFormat & DT_CENTER) != 0 ? rc.left + (rc.right - rc.left - cx) / 2 : rc.left;
    return RECT{x, y, x + cx, y + m_pFont->CellHeight()};
}

void CDC::DrawTextLine(const QString& line, const RECT& cell, const RECT& clip, unsigned nFormat)
{
    const bool bClip = (nFormat & DT_NOCLIP) == 0;
    const bool bOnce = (nFormat & DT_DRAWONCE) != 0;
    TextRecording::Note(line, ToQRect(cell), bClip ? ToQRect(clip) : QRect(), m_clrText);
    if (bOnce) {
        // As far as a run's margin reaches: an eighth of the cell height and two pixels.
        const int margin = 2 + m_pFont->CellHeight() / 8;
        QRect reach = ToQRect(cell).adjusted(-margin, -margin, margin, margin);
        if (bClip) reach &= ToQRect(clip);
        if (!reach.intersects(QRect(m_origin, m_target.size()))) return;
    }
    // Glyphs may reach past their cell, so the rectangle clips whenever it is asked to.
    if (bClip) m_painter.setClipRect(ToQRect(clip));
    if (m_nBkMode == OPAQUE) m_painter.fillRect(ToQRect(cell), ToQColor(m_clrBk));
    const int baseline = cell.top + m_pFont->Ascent();
    std::optional<TextRunCache::Run> run;
    if (!bOnce) run = TextRunCache::Instance().Get(*m_pFont, line, ToQColor(m_clrText).rgb());
    if (run) {
        m_painter.drawImage(cell.left + run->offset.x(), baseline + run->offset.y(), run->image);
    } else {
        m_painter.setFont(m_pFont->Font());
        m_painter.setPen(ToQColor(m_clrText));
        m_painter.drawText(QPointF(cell.left, baseline), line);
    }
    if (bClip) m_painter.setClipping(false);
}
