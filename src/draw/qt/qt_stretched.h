#pragma once
#include <QPainter>

#include "draw/gdi_image.h"
#include "draw/gdi_types.h"

// Draws the picture stretched onto the rectangle, smoothed or not. The stretched picture
// of the latest size is kept, process-wide for one picture at a time, so a steady screen
// scales once.
void DrawStretched(QPainter& painter, const CImage& picture, const RECT& dest, bool bSmooth);
