#pragma once
#include <QImage>
#include <QSize>

#include "display/compose_frame.h"
#include "platform/colour.h"

class ScreenPageList;

// The reference the window's composer is held to: a repaint composed in one go, the
// way the screen is meant to look after it.

// Composes a fresh image of the client size (24-bit colour in QImage::Format_RGB32) with
// DrawScreen, then copies it onto `kept`, the image of what the screen shows, skipping
// pixels of kTransparentKey. `kept` is made the client size first (what it showed stays
// at the top left, new parts are black), so it can start as a null image. An empty
// client area changes nothing and returns false. Takes the page list's lock as
// DrawScreen does.
bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state);

// Copies the source onto the destination pixel by pixel, leaving every destination pixel
// whose source pixel is exactly the key colour as it was. Both images must be of one
// size in QImage::Format_RGB32; anything else copies nothing and returns false.
bool TransparentCopy(QImage& dst, const QImage& src, COLORREF key);
