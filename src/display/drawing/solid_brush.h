#pragma once
#include "draw/colour.h"
#include "draw/gdi_brush.h"

// The process-wide brush of one colour, made at first use and kept for the life of the
// process. Window thread only.
CBrush* GetSolidBrush(COLORREF clr);
