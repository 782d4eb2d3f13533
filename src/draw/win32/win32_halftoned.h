#pragma once
#include <windows.h>

#include "draw/gdi_image.h"

// Draws an opaque picture stretched onto the rectangle with GDI's halftoning. GDI
// halftones a clipped stretch as though the clip's part were the whole destination, so a
// part repainted would not match the screen drawn whole; the whole destination is
// halftoned once instead and copied from, as far as the context's clip reaches. The
// latest one is kept, process-wide for one picture at one size, so a steady screen
// halftones once and a repaint costs what its clip covers.
void DrawHalftoned(HDC hdc, const CImage& picture, const RECT& dest);
