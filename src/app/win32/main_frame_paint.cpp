#include <windows.h>

#include <vector>

#include "draw/win32/dib_section.h"
#include "draw/win32/gdi_handles.h"
#include "draw/win32/region_rects.h"
#include "app/win32/main_frame.h"
#include "draw/win32/win32_dc.h"

namespace {

// The rectangles of the window's update region, read before BeginPaint validates it;
// the paint rectangle alone when the region cannot be read.
std::vector<RECT> UpdateRects(HWND hWnd, const RECT& rcPaint)
{
    const UniqueRgn rgn(CreateRectRgn(0, 0, 0, 0));
    if (!rgn || GetUpdateRgn(hWnd, rgn.get(), FALSE) == ERROR) return {rcPaint};
    std::vector<RECT> rects = RegionRects(rgn.get());
    return rects.empty() ? std::vector<RECT>{rcPaint} : rects;
}

}  // namespace

void CMainFrame::OnPaint()
{
    RECT rcUpdate{};
    GetUpdateRect(m_hWnd, &rcUpdate, FALSE);
    const std::vector<RECT> parts = UpdateRects(m_hWnd, rcUpdate);
    PAINTSTRUCT ps{};
    const HDC hdc = BeginPaint(m_hWnd, &ps);
    if (hdc != nullptr && m_pScreen && m_pScreen->Bits() != nullptr && !IsRectEmpty(&rcUpdate)) {
        // The parts asked for are drawn on the picture the window keeps, where they stay,
        // and only they go to the screen.
        {
            GdiDC dc(*m_pScreen);
            PaintScreen(dc, parts);
        }
        for (const RECT& rc : parts) {
            BitBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_pScreen->Dc(), rc.left, rc.top,
                   SRCCOPY);
        }
        NoteScreenChanged();
    }
    EndPaint(m_hWnd, &ps);
    OfferSnapshot();
}
