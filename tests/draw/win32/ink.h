#pragma once
#include <cstdint>

#include "draw/gdi_types.h"
#include "draw/image32.h"

// The smallest rectangle holding every pixel whose colour is not `background` (the top
// byte is not compared); empty when there is none.
RECT InkBounds(const Image32& image, std::uint32_t background);

// An opaque image of one colour (0xRRGGBB).
Image32 Uniform(int nWidth, int nHeight, std::uint32_t rgb);

// The pixel's colour without its top byte.
inline std::uint32_t Rgb(const Image32& image, int x, int y) { return image.Pixel(x, y) & 0x00FFFFFFu; }
