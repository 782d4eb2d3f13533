#pragma once
#include <optional>
#include <vector>

#include "display/pages/screen_state.h"
#include "os/date_time.h"
#include "draw/drawing_record.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

class ScreenPageList;

// How the window keeps its screen up to date. The platform keeps the window's picture
// between repaints, so a repaint need only draw where pixels change. Each tick measures
// the screen of now (a drawing that only records, no pixels) and compares it with the
// measure of the picture shown; the parts where an operation differs are all that is
// invalidated, and the repaint draws the whole screen clipped to them, as of the moment
// it was measured, so the two agree to the pixel. A screen that does not change costs a
// measure per tick and nothing else. Owned and used by the window thread only.
class ScreenRefresh {
public:
    // Measures the screen of now and returns the parts whose pixels change from the
    // picture shown (the whole client area when none is known, nothing when nothing
    // changes). The measure becomes the picture shown: the caller invalidates the parts.
    // Takes the page list's lock as DrawScreen does and advances the page rotation.
    std::vector<RECT> Tick(SIZE client, ScreenPageList& pages, const ScreenState& state, DateTime now);

    // Draws the parts (a repaint's area) as they were measured at the last tick, each
    // clipped; where the screen may hold the key colour, each part is composed apart and
    // copied by the key, so key pixels leave what the screen showed. Measures first when
    // nothing was measured yet.
    void Paint(CDC& dc, const std::vector<RECT>& parts, SIZE client, ScreenPageList& pages,
               const ScreenState& state);

    // The measure of the picture shown, for tests and diagnostics; null before the first tick.
    const DrawingRecord* Shown() const { return m_shown ? &m_shown->record : nullptr; }

private:
    struct Measure {
        DrawingRecord record;
        DateTime now;
        SIZE client;
        bool bMayDrawKey = false;
    };

    static Measure MeasureScreen(SIZE client, ScreenPageList& pages, const ScreenState& state, DateTime now);

    std::optional<Measure> m_shown;
};
