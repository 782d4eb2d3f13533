#include "win32_round_region.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Wine's CreateRoundRectRgn steps along an ellipse's width and stops at its middle: of
// an ellipse taller than wide, as a box narrower than its corners has, it leaves the
// spans of the rows nearest the ends unset, and they show whatever the memory held,
// often spans of an earlier region far away. Such a box's rows are laid out here.
UniqueRgn TallCornersRgn(const RECT& rc, int nEllipseWidth, int nEllipseHeight)
{
    const int nBand = nEllipseHeight / 2;
    // How far row i from either end is cut in on each side: the ellipse's width at the
    // row's middle.
    const auto inset = [a = nEllipseWidth / 2.0, b = nEllipseHeight / 2.0](int i) {
        const double dy = (b - (i + 0.5)) / b;
        return static_cast<int>(std::lround(a - a * std::sqrt(1.0 - dy * dy)));
    };
    std::vector<RECT> rows;
    const auto add = [&rows](const RECT& row) {
        if (!IsRectEmpty(row)) rows.push_back(row);
    };
    for (int i = 0; i < nBand; ++i) add(RECT{rc.left + inset(i), rc.top + i, rc.right - inset(i), rc.top + i + 1});
    add(RECT{rc.left, rc.top + nBand, rc.right, rc.bottom - nBand});
    // A region's rows go from top to bottom.
    for (int i = nBand - 1; i >= 0; --i) {
        add(RECT{rc.left + inset(i), rc.bottom - i - 1, rc.right - inset(i), rc.bottom - i});
    }
    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + rows.size() * sizeof(RECT));
    const RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rows.size()),
                               static_cast<DWORD>(rows.size() * sizeof(RECT)), rc};
    std::memcpy(data.data(), &header, sizeof(header));
    if (!rows.empty()) std::memcpy(data.data() + sizeof(header), rows.data(), rows.size() * sizeof(RECT));
    return UniqueRgn(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace

UniqueRgn RoundRectRgn(const CRgn& rgn)
{
    const RECT& rc = rgn.Bounds();
    if (IsRectEmpty(rc)) return UniqueRgn(CreateRectRgn(0, 0, 0, 0));
    // A frame wider than half the corners leaves the inside a negative corner, which GDI
    // would take by its size; it means none, as on the other platform.
    const int nEllipseWidth = std::min(std::max(rgn.CornerWidth(), 0), RectWidth(rc));
    const int nEllipseHeight = std::min(std::max(rgn.CornerHeight(), 0), RectHeight(rc));
    if (nEllipseWidth >= 2 && nEllipseWidth < nEllipseHeight) return TallCornersRgn(rc, nEllipseWidth, nEllipseHeight);
    // CreateRoundRectRgn leaves out one more line and column than a rectangle's exclusive
    // edges: its region of (0, 0, 10, 10) is 9 by 9.
    return UniqueRgn(CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, nEllipseWidth, nEllipseHeight));
}
