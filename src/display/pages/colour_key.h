#pragma once
#include "draw/colour.h"

// Pixels composed in exactly this colour leave the screen as it was.
inline constexpr COLORREF kTransparentKey = RGB(255, 1, 254);
