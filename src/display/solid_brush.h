#pragma once
#include "platform/colour.h"
#include "platform/gdi_brush.h"

// The process-wide brush of one colour, made at first use and kept for the life of the
// process. Window thread only.
CBrush* GetSolidBrush(COLORREF clr);
