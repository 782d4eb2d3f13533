#pragma once

// The screen size the display reports about itself (to the scoring program and on the
// information screen), worked out from the client area alone.
struct ScreenSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(ScreenSize, ScreenSize) = default;
};

// Halves the width until it is below 2048 and scales the height in proportion, rounding
// toward zero. A client area without width (a minimised window) reports (0, 0).
ScreenSize GetScreenSize(int nClientWidth, int nClientHeight);
