#pragma once
#include <windows.h>

#include <vector>

// The rectangles that make up a region, none overlapping another; none when the region
// cannot be read.
std::vector<RECT> RegionRects(HRGN hRgn);
