#pragma once
#include <windows.h>

// The window's forms. Windowed: caption, system menu, sizing border and maximise box, but
// no minimise box until the window has been full screen once.
inline constexpr DWORD kWindowedStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
// The five bits of an overlapped window's frame.
inline constexpr DWORD kFrameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
// The program's icon in its resources.
inline constexpr int kIconResource = 1;
// The arrow cursor (IDC_ARROW) in the wide form that LoadCursorW takes.
inline const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);
