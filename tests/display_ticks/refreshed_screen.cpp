#include "refreshed_screen.h"

#include <memory>

#include "os/clock.h"
#include "draw/gdi_dc.h"
#include "screen_pixels.h"

RefreshedScreen::RefreshedScreen(SIZE client, COLORREF clrShown) : m_image(Canvas(client.cx, client.cy, clrShown)) {}

std::vector<RECT> RefreshedScreen::Tick(ScreenPageList& pages, const ScreenState& state)
{
    return m_refresh.Tick(Client(), pages, state, Clock::Now());
}

void RefreshedScreen::Paint(const std::vector<RECT>& parts, ScreenPageList& pages, const ScreenState& state)
{
    const std::unique_ptr<CDC> dc = CreateImageDC(m_image);
    m_refresh.Paint(*dc, parts, Client(), pages, state);
}

void RefreshedScreen::PaintWhole(ScreenPageList& pages, const ScreenState& state)
{
    Paint({m_image.Rect()}, pages, state);
}
