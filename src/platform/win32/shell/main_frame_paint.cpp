#include <windows.h>

#include <vector>

#include "platform/win32/dib_section.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/shell/main_frame.h"
#include "platform/win32/win32_dc.h"

namespace {

// The rectangles of the window's update region, read before BeginPaint validates it;
// the paint rectangle alone when the region cannot be read.
std::vector<RECT> UpdateRects(HWND hWnd, const RECT& rcPaint)
{
    const UniqueRgn rgn(CreateRectRgn(0, 0, 0, 0));
    if (!rgn || GetUpdateRgn(hWnd, rgn.get(), FALSE) == ERROR) return {rcPaint};
    const DWORD nBytes = GetRegionData(rgn.get(), 0, nullptr);
    std::vector<std::byte> data(nBytes);
    auto* pData = reinterpret_cast<RGNDATA*>(data.data());
    if (nBytes == 0 || GetRegionData(rgn.get(), nBytes, pData) != nBytes) return {rcPaint};
    const auto* pRects = reinterpret_cast<const RECT*>(pData->Buffer);
    return std::vector<RECT>(pRects, pRects + pData->rdh.nCount);
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
    OfferSnapshot([this] { return ShownPicture(); });
}
