#pragma once
#include <windows.h>

#include "draw/gdi_region.h"
#include "draw/win32/gdi_handles.h"

// The GDI region of exactly the pixels of a rounded rectangle, its corner ellipses cut
// to the rectangle's size as GDI cuts them.
UniqueRgn RoundRectRgn(const CRgn& rgn);
