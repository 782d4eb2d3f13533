#pragma once
#include <cstdint>
#include <string>

#include "draw/colour.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

class FontCache;

// One line of text in a rectangle. The text is measured in the font already selected
// (of the given face); when it is too wide it is drawn in a regular font of the face
// shrunk from `nHeight` in proportion to the excess, at most to 95 %, and smaller still
// if that is not yet narrow enough, so it is never cut at the rectangle's sides; the
// shrunk fonts are the cache's. An empty text, or one too wide for the rectangle even one
// pixel high, draws nothing.
void DrawFittedText(CDC& dc, FontCache& fontCache, const std::u16string& text, RECT rect, unsigned nFormat,
                    const std::u16string& face, int nHeight);
// The height DrawFittedText draws a text of the measured width in: nHeight when it fits
// the room, otherwise nHeight scaled by room / width in whole percent, at most 95 %.
int FittedHeight(int nTextWidth, int nRoom, int nHeight);

// A rounded box in the fill colour, framed inside its edge in a colour a fifth of the way
// to the fill's contrast colour. An empty rectangle draws nothing.
void DrawBarBox(CDC& dc, RECT rect, COLORREF clrFill);

// Darkens the rectangle with a half-transparent dark blue (ARGB 0x7F004080), leaving its
// last column and row alone.
void FillTranslucent(CDC& dc, RECT rect);

inline constexpr std::uint32_t kTranslucentArgb = 0x7F004080;
