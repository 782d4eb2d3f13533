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

// One repaint: composes a fresh image of the client size (24-bit colour in
// QImage::Format_RGB32, starting black)
// with DrawScreen, then copies it onto `kept`, the window's image of what the screen
// shows, skipping pixels of kTransparentKey. `kept` is made the client size first (what
// it showed stays at the top left, new parts are black), so it can start as a null image.
// An empty client area changes nothing and returns false. Takes the page list's lock as
// DrawScreen does. What the window's composer (frame_composer.h) shows, composed in one go.
bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state);

// Whether any pixel of the area has exactly the colour; the top byte of Format_RGB32 is
// not compared.
bool HoldsColour(const QImage& image, COLORREF colour, QRect area);
// The colour-key copy of a composed frame onto `kept`, made the frame's size first as
// above; false when it could not be.
bool KeyCopy(QImage& kept, const QImage& frame);

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
