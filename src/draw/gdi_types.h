#pragma once

#if defined(_WIN32)
#include "draw/gdi_types_win32.h"
#else
// The few plain drawing types the screens are laid out with: points, rectangles in
// pixels with exclusive right and bottom edges, sizes, and the format bits of DrawText,
// with the values GDI gives them.
struct POINT {
    int x = 0;
    int y = 0;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

// DrawText format bits; left and top are the defaults (no bit).
inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOCLIP = 0x100;

// Background modes: whether text cells are filled with the background colour.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stretch modes: HALFTONE smooths a stretched picture, the default does not.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int HALFTONE = 4;

// Font weights.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_HEAVY = 900;
#endif

// Rectangle arithmetic of our own, under names GDI does not take (GDI's IsRectEmpty takes
// a pointer).
inline bool IsRectEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }
inline int RectWidth(const RECT& rc) { return rc.right - rc.left; }
inline int RectHeight(const RECT& rc) { return rc.bottom - rc.top; }
inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// The common part, or an empty rectangle.
RECT RectIntersection(const RECT& a, const RECT& b);
// The smallest rectangle holding both; an empty one adds nothing.
RECT RectUnion(const RECT& a, const RECT& b);
// Whether the two share a pixel, or touch along an edge when bTouching.
bool RectsMeet(const RECT& a, const RECT& b, bool bTouching = false);
RECT RectOffset(const RECT& rc, int dx, int dy);
