#pragma once
#include "display/pages/screen_state.h"
#include "draw/colour.h"
#include "os/date_time.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

class ScreenPageList;

inline constexpr COLORREF kScreenBackground = RGB(72, 96, 139);

// Draws the whole client rectangle as of `now`: the background colour, then the current
// page (round page or note picture) or, with no page, the information screen. Takes the
// page list's lock itself, from picking the page until it has been drawn; the caller
// must not hold it. Advances the page rotation. Returns whether what it drew may hold
// pixels of the key colour. Window thread only.
bool DrawScreen(CDC& dc, RECT rect, ScreenPageList& pages, const ScreenState& state, DateTime now);
