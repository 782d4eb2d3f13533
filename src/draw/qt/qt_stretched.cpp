#include "qt_stretched.h"

#include <cstdint>
#include <mutex>
#include <vector>

#include "draw/qt/qt_dc.h"

namespace {

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

}  // namespace

void DrawStretched(QPainter& painter, const CImage& picture, const RECT& dest, bool bSmooth)
{
    const QSize size(dest.right - dest.left, dest.bottom - dest.top);
    const std::lock_guard<std::mutex> lock(g_mtxStretched);
    if (g_stretched.serial != picture.Serial() || g_stretched.size != size || g_stretched.smooth != bSmooth) {
        const QImage source = SharedQImage(picture.Pixels());
        g_stretched = StretchedPicture{
            picture.Serial(), size, bSmooth,
            bSmooth ? source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    : NearestStretched(source, size)};
    }
    painter.drawImage(dest.left, dest.top, g_stretched.image);
}
