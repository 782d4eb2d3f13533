#pragma once
#include "display/pages/info_footer.h"
#include "display/pages/screen_size.h"
#include "display/pages/time_signals.h"

// What drawing the screen needs to know about the window it draws for.
struct ScreenState {
    bool bFullScreen = false;     // the hint line of the information screen is left out
    ScreenSize reportedSize;      // GetScreenSize of the window's client area
    InfoFooter footer;            // the information screen's bottom band
    TimeSignals timeSignals{};    // warning stages, overtime blink and sound, as set up
};
