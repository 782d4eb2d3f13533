#pragma once
#include <QImage>
#include <QSize>

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
// DrawScreen does. Used by the window's paint handler and by the snapshot option.
bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state);
