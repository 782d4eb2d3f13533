#pragma once
#include "os/date_time.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

struct TimeSignals;

class FontCache;
class ScreenPage;

// Draws a round page over the rectangle, whose background is already painted: the
// background picture, two title lines, the time bar with caption, elapsed time and
// progress box, and the big clock, all as fractions of the rectangle, with the time as
// of `now`. Puts back the font and text colour it found and leaves the background mode
// TRANSPARENT. The clock's colour follows the director's time signals. Call with the
// page list's lock held.
void DrawRoundPage(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page, const TimeSignals& timeSignals,
                   DateTime now);
