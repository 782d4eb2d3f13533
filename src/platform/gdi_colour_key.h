#pragma once
#include <QImage>

#include "platform/colour.h"

// Copies the source onto the destination pixel by pixel, leaving every destination pixel
// whose source pixel is exactly the key colour as it was. Both images must be of one
// size in QImage::Format_RGB32; anything else copies nothing and returns false.
bool TransparentCopy(QImage& dst, const QImage& src, COLORREF key);
