#pragma once

// The few plain drawing types the screens are laid out with: rectangles in pixels with
// exclusive right and bottom edges, sizes, and the format bits of DrawText.
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

inline bool IsRectEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

// DrawText format bits; left and top are the defaults (no bit).
inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOCLIP = 0x100;
// Not a Windows bit: a text shown once, such as a clock's second, is drawn straight
// instead of through the text run cache, whose copy would never be used again. Left out
// wholly when no ink of it can reach the target.
inline constexpr unsigned DT_DRAWONCE = 0x10000000;

// Background modes: whether text cells are filled with the background colour.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stretch modes: HALFTONE smooths a stretched picture, the default does not.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int HALFTONE = 4;

// Font weights.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_HEAVY = 900;
