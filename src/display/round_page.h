#pragma once
#include <QRegion>

#include "platform/gdi_dc.h"
#include "platform/gdi_types.h"

struct TimeSignals;

class FontCache;
class ScreenPage;

// Draws a round page over the rectangle, whose background is already painted: the
// background picture, two title lines, the time bar with caption, elapsed time and
// progress box, and the big clock, all as fractions of the rectangle, with the time read
// from Clock::Now. Puts back the font and text colour it found and leaves the background
// mode TRANSPARENT. The clock's colour follows the director's time signals. Call with the
// page list's lock held.
void DrawRoundPage(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page,
                   const TimeSignals& timeSignals);

// The same in two layers. The still one: the background picture, the titles and the time
// bar's darkened band, none of which change while the page stays. The moving one over it:
// the bar's caption, elapsed time and progress box, and the big clock, which change with
// the second; it returns where it drew, within the rectangle, so that a repaint of the
// next second can put the still layer back there and draw only those parts again.
void DrawRoundPageStill(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page);
QRegion DrawRoundPageMoving(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page,
                            const TimeSignals& timeSignals);
// Where DrawRoundPageMoving would draw now, worked out without drawing, so that the part
// of the screen a new second touches is known before anything is composed. Puts back
// the font it found.
QRegion RoundPageMovingReach(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page);
