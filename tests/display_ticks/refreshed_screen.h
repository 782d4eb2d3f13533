#pragma once
#include <vector>

#include "display/drawing/screen_refresh.h"
#include "display/pages/screen_state.h"
#include "draw/gdi_types.h"
#include "draw/image32.h"

class ScreenPageList;

// The screen of a window: its picture kept between repaints, painted only where asked,
// by the platform's drawing layer as the window's paint does, at the clock's now.
class RefreshedScreen {
public:
    RefreshedScreen(SIZE client, COLORREF clrShown);

    std::vector<RECT> Tick(ScreenPageList& pages, const ScreenState& state);
    void Paint(const std::vector<RECT>& parts, ScreenPageList& pages, const ScreenState& state);
    void PaintWhole(ScreenPageList& pages, const ScreenState& state);

    const Image32& Image() const { return m_image; }

private:
    SIZE Client() const { return SIZE{m_image.Width(), m_image.Height()}; }

    Image32 m_image;
    ScreenRefresh m_refresh;
};
