#include "gdi_region.h"

#include <QRectF>

#include <algorithm>

namespace {

QPainterPath RoundRectPath(int left, int top, int right, int bottom, int nCornerWidth, int nCornerHeight)
{
    QPainterPath path;
    if (right <= left || bottom <= top) return path;
    const QRectF rc(left, top, right - left, bottom - top);
    const qreal rx = std::max(0, nCornerWidth) / 2.0;
    const qreal ry = std::max(0, nCornerHeight) / 2.0;
    if (rx > 0 && ry > 0) {
        path.addRoundedRect(rc, rx, ry);
    } else {
        path.addRect(rc);
    }
    return path;
}

}  // namespace

void CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int nWidth, int nHeight)
{
    m_nLeft = left;
    m_nTop = top;
    m_nRight = right;
    m_nBottom = bottom;
    m_nCornerWidth = nWidth;
    m_nCornerHeight = nHeight;
    m_path = RoundRectPath(left, top, right, bottom, nWidth, nHeight);
}

QPainterPath CRgn::Shrunk(int nWidth, int nHeight) const
{
    return RoundRectPath(m_nLeft + nWidth, m_nTop + nHeight, m_nRight - nWidth, m_nBottom - nHeight,
                         m_nCornerWidth - 2 * nWidth, m_nCornerHeight - 2 * nHeight);
}
