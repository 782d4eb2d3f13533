#include "gdi_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <atomic>
#include <mutex>
#include <vector>

#include "gdi_dc.h"
#include "jpeg_scans.h"
#include "picture_shrink.h"

namespace {

std::atomic<std::uint64_t> g_nNextSerial{1};

// The latest stretched picture. Shared by every context, so guarded, though only the
// window thread draws in the running program.
struct StretchedPicture {
    std::uint64_t serial = 0;
    QSize size;
    bool smooth = false;
    QImage image;
};
std::mutex g_mtxStretched;
StretchedPicture g_stretched;

// Plain stretching takes, for each pixel, the source pixel its position falls on, with
// no smoothing: the result of a stretch without halftoning.
QImage NearestStretched(const QImage& src, QSize size)
{
    QImage out(size, src.format());
    if (out.isNull()) return out;
    std::vector<int> columns(static_cast<std::size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x) {
        columns[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<qint64>(x) * src.width() / size.width());
    }
    for (int y = 0; y < size.height(); ++y) {
        const int sy = static_cast<int>(static_cast<qint64>(y) * src.height() / size.height());
        const auto* from = reinterpret_cast<const std::uint32_t*>(src.constScanLine(sy));
        auto* to = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) to[x] = from[columns[static_cast<std::size_t>(x)]];
    }
    return out;
}

constexpr qint64 kAllocationLimitBytes = static_cast<qint64>(CImage::kAllocationLimitMiB) * 1024 * 1024;

// Bytes the decoded picture would take at four bytes a pixel.
bool WithinAllocationLimit(const QSize& size)
{
    if (!size.isValid()) return true;  // not every format announces its size; the reader's own cap still holds
    return static_cast<qint64>(size.width()) * size.height() * 4 <= kAllocationLimitBytes;
}

// The largest size within `fitTo`, each direction on its own: the picture is stretched
// to the screen without keeping its aspect ratio, so nothing finer could ever show.
QSize Fitted(QSize size, QSize fitTo)
{
    if (!fitTo.isValid() || fitTo.isEmpty() || !size.isValid()) return size;
    return size.boundedTo(fitTo);
}

}  // namespace

bool CImage::Load(const std::uint8_t* data, int length, QSize fitTo)
{
    Destroy();
    if (data == nullptr || length <= 0) return false;
    if (IsCostlyJpeg(data, static_cast<std::size_t>(length))) return false;

    QImageReader::setAllocationLimit(kAllocationLimitMiB);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), length);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!WithinAllocationLimit(reader.size())) return false;
    // JPEG's decoder makes the picture smaller while it decodes (reduced-size DCT), so
    // it never holds it whole; the others decode it whole, and it is shrunk at once. Qt's
    // own scaling for those widens a 1-bit picture to 32 bits at full size first, and
    // loses a 1-bit picture's colours.
    const QSize announced = Fitted(reader.size(), fitTo);
    if (announced != reader.size() && reader.format() == "jpeg") {
        reader.setScaledSize(announced);
    }

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return false;
    if (const QSize fitted = Fitted(decoded.size(), fitTo); fitted != decoded.size()) {
        decoded = ShrinkPicture(decoded, fitted);
        if (decoded.isNull()) return false;
    }
    // Drawn ten times a second: keep it in the formats the rasteriser draws fastest.
    m_image = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                : QImage::Format_RGB32);
    m_nSerial = g_nNextSerial.fetch_add(1);
    return !m_image.isNull();
}

void CImage::Draw(CDC& dc, const RECT& dest) const
{
    const QSize size(dest.right - dest.left, dest.bottom - dest.top);
    if (m_image.isNull() || size.isEmpty()) return;
    QPainter& painter = dc.Painter();
    painter.setCompositionMode(m_image.hasAlphaChannel() ? QPainter::CompositionMode_SourceOver
                                                         : QPainter::CompositionMode_Source);
    if (size == m_image.size()) {
        painter.drawImage(dest.left, dest.top, m_image);
    } else {
        const bool smooth = dc.GetStretchBltMode() == HALFTONE;
        const std::lock_guard<std::mutex> lock(g_mtxStretched);
        if (g_stretched.serial != m_nSerial || g_stretched.size != size || g_stretched.smooth != smooth) {
            g_stretched = StretchedPicture{
                m_nSerial, size, smooth,
                smooth ? m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       : NearestStretched(m_image, size)};
        }
        painter.drawImage(dest.left, dest.top, g_stretched.image);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
