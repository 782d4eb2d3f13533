#pragma once
#include <QImage>
#include <QSize>

#include "display/pages/screen_state.h"
#include "draw/colour.h"
#include "os/date_time.h"

class ScreenPageList;

// The reference the window's repaints are held to: the screen composed in one go, the
// way it is meant to look after a repaint.

// Composes a fresh image of the client size with DrawScreen as of `now`, then copies it
// onto `kept`, the image of what the screen shows (client size, QImage::Format_RGB32),
// skipping pixels of the key colour. False for an empty client area or a `kept` of
// another size or format, which then stays as it was. Takes the page list's lock as
// DrawScreen does.
bool ComposeFrame(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state, DateTime now);
