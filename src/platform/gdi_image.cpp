#include "gdi_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "gdi_dc.h"

namespace {

constexpr qint64 kAllocationLimitBytes = static_cast<qint64>(CImage::kAllocationLimitMiB) * 1024 * 1024;

// Bytes the decoded picture would take at four bytes a pixel.
bool WithinAllocationLimit(const QSize& size)
{
    if (!size.isValid()) return true;  // not every format announces its size; the reader's own cap still holds
    return static_cast<qint64>(size.width()) * size.height() * 4 <= kAllocationLimitBytes;
}

}  // namespace

bool CImage::Load(const std::uint8_t* data, int length)
{
    m_image = QImage();
    if (data == nullptr || length <= 0) return false;

    QImageReader::setAllocationLimit(kAllocationLimitMiB);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), length);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!WithinAllocationLimit(reader.size())) return false;

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return false;
    // Drawn ten times a second: keep it in the formats the rasteriser draws fastest.
    m_image = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                : QImage::Format_RGB32);
    return !m_image.isNull();
}

void CImage::Draw(CDC& dc, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight) const
{
    if (m_image.isNull() || nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0) return;
    QPainter& painter = dc.Painter();
    const bool smooth = dc.GetStretchBltMode() == HALFTONE;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.setCompositionMode(m_image.hasAlphaChannel() ? QPainter::CompositionMode_SourceOver
                                                         : QPainter::CompositionMode_Source);
    painter.drawImage(QRect(xDest, yDest, nDestWidth, nDestHeight), m_image, QRect(xSrc, ySrc, nSrcWidth, nSrcHeight));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}
