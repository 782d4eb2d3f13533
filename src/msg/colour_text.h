#pragma once
#include <string_view>

#include "draw/colour.h"

// A colour as people and messages write it, in every option, the configuration file and
// the sender alike: "R,G,B" (each 0 to 255, spaces allowed around each), "#RRGGBB", or a
// colour name such as "red" or "darkorange" (SVG's names, any case). False, with `clr`
// untouched, for anything else.
bool ParseColourText(std::string_view text, COLORREF& clr);
