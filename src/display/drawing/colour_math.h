#pragma once
#include "draw/colour.h"

// Each channel moved from a toward b by p percent, rounding toward zero.
COLORREF BlendColour(COLORREF a, COLORREF b, int nPercent);
// Black on light colours (luma above 160), white on the others.
COLORREF ContrastColour(COLORREF clr);
