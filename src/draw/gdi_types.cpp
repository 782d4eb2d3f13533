#include "gdi_types.h"

#include <algorithm>

RECT RectIntersection(const RECT& a, const RECT& b)
{
    const RECT rc{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    return IsRectEmpty(rc) ? RECT{} : rc;
}

RECT RectUnion(const RECT& a, const RECT& b)
{
    if (IsRectEmpty(a)) return b;
    if (IsRectEmpty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool RectsMeet(const RECT& a, const RECT& b, bool bTouching)
{
    if (IsRectEmpty(a) || IsRectEmpty(b)) return false;
    const int slack = bTouching ? 1 : 0;
    return a.left < b.right + slack && b.left < a.right + slack && a.top < b.bottom + slack &&
           b.top < a.bottom + slack;
}

RECT RectOffset(const RECT& rc, int dx, int dy)
{
    return RECT{rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy};
}
