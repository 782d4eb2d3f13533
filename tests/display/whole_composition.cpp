#include "whole_composition.h"

#include <QPainter>

#include <cstdint>
#include <utility>

#include "display/draw_screen.h"
#include "platform/gdi_dc.h"

namespace {

// The image of the screen follows the client size; what it showed stays put.
void FitKept(QImage& kept, QSize client)
{
    if (kept.size() == client && kept.format() == QImage::Format_RGB32) return;
    QImage fitted(client, QImage::Format_RGB32);
    fitted.fill(Qt::black);
    if (!kept.isNull()) {
        QPainter painter(&fitted);
        painter.drawImage(0, 0, kept);
    }
    kept = std::move(fitted);
}

}  // namespace

bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state)
{
    if (client.isEmpty()) return false;
    QImage frame(client, QImage::Format_RGB32);
    if (frame.isNull()) return false;
    {
        // DrawScreen's first step fills every pixel, so the frame needs no clearing here.
        CDC dc(frame);
        DrawScreen(dc, RECT{0, 0, client.width(), client.height()}, pages, state);
    }
    if (!HoldsColour(frame, kTransparentKey, frame.rect())) {
        // Nothing of the old picture shows through: the frame becomes the kept image.
        kept = std::move(frame);
        return true;
    }
    FitKept(kept, client);
    return !kept.isNull() && TransparentCopy(kept, frame, kTransparentKey);
}

bool TransparentCopy(QImage& dst, const QImage& src, COLORREF key)
{
    if (dst.size() != src.size() || dst.format() != QImage::Format_RGB32 || src.format() != QImage::Format_RGB32) {
        return false;
    }
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
