#include "whole_composition.h"

#include <cstdint>

#include "display/pages/colour_key.h"
#include "display/drawing/draw_screen.h"
#include "draw/qt/qt_dc.h"

bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state, DateTime now)
{
    if (client.isEmpty() || kept.size() != client || kept.format() != QImage::Format_RGB32) return false;
    QImage frame(client, QImage::Format_RGB32);
    {
        // DrawScreen's first step fills every pixel, so the frame needs no clearing here.
        QtDC dc(frame);
        DrawScreen(dc, RECT{0, 0, client.width(), client.height()}, pages, state, now);
    }
    const std::uint32_t keyRgb = PixelRgb(kTransparentKey);
    for (int y = 0; y < client.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(frame.constScanLine(y));
        auto* to = reinterpret_cast<std::uint32_t*>(kept.scanLine(y));
        for (int x = 0; x < client.width(); ++x) {
            if ((from[x] & kPixelRgb) != keyRgb) to[x] = from[x];
        }
    }
    return true;
}
