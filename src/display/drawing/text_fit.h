#pragma once
#include <string>

#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

class FontCache;

// Selects the cached font of the face at nHeight while the text fits within `room` in it
// (its width by the font's cell height); otherwise the largest smaller height at which it
// fits, or one pixel at the least. Returns the height selected. The previously
// selected font is not put back: the caller's saved state does that.
int SelectFittingFont(CDC& dc, FontCache& fontCache, const std::u16string& text, const std::u16string& face, int nHeight,
                      SIZE room);

// How far `inner` must move, along each axis, to lie within `outer` by the least movement;
// nothing for an inner already inside. An inner wider or taller than outer lines up with
// its left or top edge.
SIZE OffsetInside(const RECT& inner, const RECT& outer);
