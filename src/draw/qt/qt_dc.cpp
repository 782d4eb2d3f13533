#include "qt_dc.h"

#include <QPainterPath>
#include <QRegion>

#include "draw/gdi_font.h"
#include "draw/gdi_image.h"
#include "draw/gdi_region.h"
#include "draw/qt/qt_font.h"
#include "draw/qt/qt_stretched.h"
#include "draw/qt/qt_text.h"

namespace {

QRect ToQRect(const RECT& rc) { return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top); }
QColor ToQColor(COLORREF clr) { return QColor(GetRValue(clr), GetGValue(clr), GetBValue(clr)); }

QPainterPath RoundRectPath(const RECT& rc, int nCornerWidth, int nCornerHeight)
{
    QPainterPath path;
    if (IsRectEmpty(rc)) return path;
    const QRectF area(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    const qreal rx = std::max(0, nCornerWidth) / 2.0;
    const qreal ry = std::max(0, nCornerHeight) / 2.0;
    if (rx > 0 && ry > 0) {
        path.addRoundedRect(area, rx, ry);
    } else {
        path.addRect(area);
    }
    return path;
}

QPainterPath PathOf(const CRgn& rgn) { return RoundRectPath(rgn.Bounds(), rgn.CornerWidth(), rgn.CornerHeight()); }

// The picture with the key colour made transparent, to be drawn over what is there.
QImage Keyed(const Image32& picture, COLORREF clrKey)
{
    QImage part(picture.Width(), picture.Height(), QImage::Format_ARGB32_Premultiplied);
    const std::uint32_t key = PixelRgb(clrKey);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* from = picture.Line(y);
        auto* to = reinterpret_cast<std::uint32_t*>(part.scanLine(y));
        for (int x = 0; x < picture.Width(); ++x) to[x] = (from[x] & kPixelRgb) == key ? 0u : from[x] | 0xFF000000u;
    }
    return part;
}

}  // namespace

QImage SharedQImage(const Image32& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(),
                  image.Width() * 4, image.HasAlpha() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QtDC::QtDC(Image32& target, POINT origin)
    : m_image(std::in_place, reinterpret_cast<uchar*>(target.Bits()), target.Width(), target.Height(),
              target.Width() * 4, target.HasAlpha() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32),
      m_ownPainter(std::in_place, &*m_image),
      m_painter(*m_ownPainter)
{
    m_painter.translate(-origin.x, -origin.y);
}

QtDC::QtDC(QImage& target, POINT origin) : m_ownPainter(std::in_place, &target), m_painter(*m_ownPainter)
{
    m_painter.translate(-origin.x, -origin.y);
}

QtDC::QtDC(QPainter& painter) : m_painter(painter) {}

void QtDC::OnFill(const RECT& rc, COLORREF clr)
{
    m_painter.fillRect(ToQRect(rc), ToQColor(clr));
}

void QtDC::OnBlend(const RECT& rc, std::uint32_t argb)
{
    m_painter.fillRect(ToQRect(rc), QColor::fromRgba(argb));
}

void QtDC::OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight)
{
    QPainterPath area = PathOf(rgn);
    if (nFrameWidth > 0 || nFrameHeight > 0) {
        area.addPath(PathOf(rgn.Shrunk(nFrameWidth, nFrameHeight)));
        area.setFillRule(Qt::OddEvenFill);
    }
    m_painter.fillPath(area, ToQColor(clr));
}

void QtDC::OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip)
{
    const CFont& font = *GetCurrentFont();
    if (pClip != nullptr) {
        m_painter.save();
        m_painter.setClipRect(ToQRect(*pClip), Qt::IntersectClip);
    }
    m_painter.setFont(font.NativeFont().font);
    m_painter.setPen(ToQColor(GetTextColor()));
    m_painter.drawText(QPointF(cell.left, cell.top + font.Ascent()), ToQString(line));
    if (pClip != nullptr) m_painter.restore();
}

void QtDC::OnPicture(const CImage& picture, const RECT& dest)
{
    const QSize size(dest.right - dest.left, dest.bottom - dest.top);
    const QPainter::CompositionMode mode = m_painter.compositionMode();
    m_painter.setCompositionMode(picture.HasAlpha() ? QPainter::CompositionMode_SourceOver
                                                    : QPainter::CompositionMode_Source);
    if (size == QSize(picture.GetWidth(), picture.GetHeight())) {
        m_painter.drawImage(dest.left, dest.top, SharedQImage(picture.Pixels()));
    } else {
        DrawStretched(m_painter, picture, dest, GetStretchBltMode() == HALFTONE);
    }
    m_painter.setCompositionMode(mode);
}

void QtDC::OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey)
{
    const QPainter::CompositionMode mode = m_painter.compositionMode();
    if (picture.HoldsColour(clrKey)) {
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter.drawImage(at.x, at.y, Keyed(picture, clrKey));
    } else {
        m_painter.setCompositionMode(QPainter::CompositionMode_Source);
        m_painter.drawImage(at.x, at.y, SharedQImage(picture));
    }
    m_painter.setCompositionMode(mode);
}

void QtDC::OnClip(const std::vector<RECT>* pRects)
{
    if (pRects == nullptr) {
        m_painter.setClipping(false);
        return;
    }
    if (pRects->size() == 1) {
        m_painter.setClipRect(ToQRect(pRects->front()));
        return;
    }
    QRegion region;
    for (const RECT& rc : *pRects) region += ToQRect(rc);
    m_painter.setClipRegion(region);
}

std::unique_ptr<CDC> CreateImageDC(Image32& target, POINT origin)
{
    return std::make_unique<QtDC>(target, origin);
}
