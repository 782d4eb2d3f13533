#pragma once
#include "draw/colour.h"
#include "draw/gdi_types.h"
#include "draw/image32.h"

// The largest size of the picture's shape that fits width x height: it fills one of the
// two, the other rounded down (at least one pixel).
SIZE FittedSize(int pictureWidth, int pictureHeight, int width, int height);

// A canvas of width x height in the background colour with the picture on it, scaled to
// FittedSize and centred (an odd pixel left over goes right or below). A picture with
// alpha shows the background through.
Image32 LetterboxImage(const Image32& picture, int width, int height, COLORREF background);
