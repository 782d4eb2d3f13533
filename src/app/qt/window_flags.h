#pragma once
#include <Qt>

// The window's two forms. Windowed: caption, system menu, sizing border, maximise and close
// boxes, and no minimise box until the window has been full screen once.
inline constexpr Qt::WindowFlags kWindowedFlags = Qt::Window | Qt::CustomizeWindowHint
    | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
    | Qt::WindowCloseButtonHint;
inline constexpr Qt::WindowFlags kRestoredFlags = kWindowedFlags | Qt::WindowMinimizeButtonHint;
// Full screen: no caption, no border, above every other window.
inline constexpr Qt::WindowFlags kFullScreenFlags =
    Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
