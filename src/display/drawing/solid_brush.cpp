#include "solid_brush.h"

#include <map>
#include <memory>

CBrush* GetSolidBrush(COLORREF clr)
{
    static std::map<COLORREF, std::unique_ptr<CBrush>> brushes;
    std::unique_ptr<CBrush>& brush = brushes[clr];
    if (!brush) brush = std::make_unique<CBrush>(clr);
    return brush.get();
}
