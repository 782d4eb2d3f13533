#pragma once
#include "display/info_footer.h"
#include "display/screen_size.h"
#include "platform/colour.h"
#include "platform/gdi_dc.h"
#include "platform/gdi_types.h"

class ScreenPageList;

// What the composition needs to know about the window it draws for.
struct ScreenState {
    bool bFullScreen = false;     // the hint line of the information screen is left out
    ScreenSize reportedSize;      // GetScreenSize of the window's client area
    InfoFooter footer;            // the information screen's bottom band
};

inline constexpr COLORREF kScreenBackground = RGB(72, 96, 139);

// Composes the whole client rectangle: the background colour, then the current page
// (round page or note picture) or, with no page, the information screen. Takes the page
// list's lock itself, from picking the page until it has been drawn; the caller must not
// hold it. Advances the page rotation. Window thread only.
void DrawScreen(CDC& dc, RECT rect, ScreenPageList& pages, const ScreenState& state);
