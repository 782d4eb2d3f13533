#pragma once
#include "platform/gdi_dc.h"
#include "platform/gdi_types.h"

struct ScreenState;

// The screen shown while there is no page: title, version, the machine's IPv4
// addresses, the reported screen size, unless full screen the right-click hint and, when
// the director has set up time signals, a line naming them, in eight bands of the rectangle. Puts back the font and text colour it found. The address
// text is looked up at the first drawing that finds one and kept from then on.
void DrawInfoScreen(CDC& dc, RECT rect, int nLanguage, const ScreenState& state);

inline constexpr const char* kVersionText = "7.26.36";
