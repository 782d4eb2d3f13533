#pragma once
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"

struct ScreenState;

// The screen shown while there is no page: title, version, the machine's IPv4
// addresses, the reported screen size, unless full screen the right-click hint, and what
// the footer has to say (a port that is not the standard one, or that the display is not
// listening, and the director's time signals), in eight bands of the rectangle, each line
// fitted to its band. Puts back the font and text colour it found. The address text is
// looked up at the first drawing that finds one and kept from then on.
void DrawInfoScreen(CDC& dc, RECT rect, int nLanguage, const ScreenState& state);

inline constexpr const char* kVersionText = "7.26.36";
