#include "colour_math.h"

COLORREF BlendColour(COLORREF a, COLORREF b, int nPercent)
{
    const auto blend = [nPercent](int from, int to) { return from + (to - from) * nPercent / 100; };
    return RGB(blend(GetRValue(a), GetRValue(b)), blend(GetGValue(a), GetGValue(b)), blend(GetBValue(a), GetBValue(b)));
}

COLORREF ContrastColour(COLORREF clr)
{
    const double luma = 0.299 * GetRValue(clr) + 0.587 * GetGValue(clr) + 0.114 * GetBValue(clr);
    return luma > 160.0 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}
