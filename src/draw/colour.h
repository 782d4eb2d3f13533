#pragma once
#include <cstdint>

#include "draw/gdi_types.h"

// Colours travel as 0x00BBGGRR, red in the lowest byte, as the scoring program sends them.
// On Windows that is GDI's own COLORREF with its RGB and Get?Value macros (windows.h, by
// way of gdi_types.h), so that the names mean the same in a file that includes windows.h
// as in one that does not.
#if !defined(_WIN32)
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
#endif

// The colour as it stands in a 32-bit image pixel (0xAARRGGBB) without its top byte,
// which carries no colour: compare it with `pixel & kPixelRgb`.
inline constexpr std::uint32_t kPixelRgb = 0x00FFFFFFu;
constexpr std::uint32_t PixelRgb(COLORREF c)
{
    return (static_cast<std::uint32_t>(c & 0xFF) << 16) | (static_cast<std::uint32_t>((c >> 8) & 0xFF) << 8) |
           static_cast<std::uint32_t>((c >> 16) & 0xFF);
}
