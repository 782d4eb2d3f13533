#include "gdi_colour_key.h"

#include <cstdint>

bool TransparentCopy(QImage& dst, const QImage& src, COLORREF key)
{
    if (dst.size() != src.size() || dst.format() != QImage::Format_RGB32 || src.format() != QImage::Format_RGB32) {
        return false;
    }
    // Format_RGB32 keeps 0xFFRRGGBB; the top byte carries no colour and is not compared.
    const std::uint32_t keyRgb = PixelRgb(key);
    const int width = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(src.constScanLine(y));
        auto* to = reinterpret_cast<std::uint32_t*>(dst.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((from[x] & kPixelRgb) != keyRgb) to[x] = from[x];
        }
    }
    return true;
}
