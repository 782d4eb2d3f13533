#pragma once
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>

#include "display/draw_screen.h"
#include "platform/colour.h"

class ScreenPageList;

// Pixels composed in exactly this colour leave the screen as it was.
inline constexpr COLORREF kTransparentKey = RGB(255, 1, 254);

// Whether any pixel of the area has exactly the colour; the top byte of Format_RGB32 is
// not compared.
bool HoldsColour(const QImage& image, COLORREF colour, QRect area);

// Everything a composed picture can depend on: the page list's state, "now" to the
// second (the clocks, the rotation, the overtime blink), the client size, the language
// and the window's state. Two equal keys compose the same picture, so a repaint with the
// key of the picture shown has nothing to show that is not on the screen already.
struct FrameKey {
    std::uint64_t nGeneration = 0;
    double dNowDays = 0.0;
    QSize client;
    int nLanguage = 0;
    ScreenState state;

    friend bool operator==(const FrameKey& a, const FrameKey& b);
};
// Reads the page list's generation without its lock.
FrameKey CurrentFrameKey(const ScreenPageList& pages, QSize client, const ScreenState& state);
