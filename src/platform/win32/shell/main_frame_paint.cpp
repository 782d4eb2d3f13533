#include <windows.h>

#include <algorithm>
#include <cstring>
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

void PutPart(Image32& picture, const Image32& part, POINT at)
{
    for (int y = 0; y < part.Height(); ++y) {
        std::memcpy(picture.Line(at.y + y) + at.x, part.Line(y), static_cast<std::size_t>(part.Width()) * 4);
    }
}

}  // namespace

void CMainFrame::OnPaint()
{
    RECT rcUpdate{};
    GetUpdateRect(m_hWnd, &rcUpdate, FALSE);
    std::vector<RECT> parts = UpdateRects(m_hWnd, rcUpdate);
    PAINTSTRUCT ps{};
    const HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT rcPart{};
    if (hdc != nullptr && IntersectRect(&rcPart, &ps.rcPaint, &rcUpdate) && !m_screenPicture.IsNull()) {
        // The parts asked for are drawn on the picture the window keeps, then that one
        // rectangle goes to the screen in a single copy.
        const RECT whole = m_screenPicture.Rect();
        IntersectRect(&rcPart, &rcPart, &whole);
        Image32 part = m_screenPicture.Copy(rcPart);
        if (!part.IsNull()) {
            {
                GdiDC dc(part, POINT{rcPart.left, rcPart.top});
                PaintScreen(dc, parts);
            }
            PutPart(m_screenPicture, part, POINT{rcPart.left, rcPart.top});
            const BITMAPINFO info = TopDownInfo(part.Width(), part.Height());
            SetDIBitsToDevice(hdc, rcPart.left, rcPart.top, part.Width(), part.Height(), 0, 0, 0, part.Height(),
                              part.Bits(), &info, DIB_RGB_COLORS);
            NoteScreenChanged();
        }
    }
    EndPaint(m_hWnd, &ps);
    OfferSnapshot([this] { return m_screenPicture; });
}
