// The least a Win32 full-screen clock can cost: the floor the display's own figures are
// read against. A 100 ms timer that invalidates only the clock's box, and only when the
// second changes; the paint fills that box and draws the time with one DrawTextW.
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTimer = 1;
WORD g_nShownSecond = 0xFFFF;
HFONT g_hFont = nullptr;

RECT ClockBox(HWND hWnd)
{
    RECT rc{};
    GetClientRect(hWnd, &rc);
    const int nHeight = (rc.bottom - rc.top) * 2 / 5;
    const int nTop = (rc.bottom - rc.top - nHeight) / 2;
    return RECT{rc.left, nTop, rc.right, nTop + nHeight};
}

void Paint(HWND hWnd)
{
    PAINTSTRUCT ps{};
    const HDC hdc = BeginPaint(hWnd, &ps);
    FillRect(hdc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[16];
    std::swprintf(text, 16, L"%02u:%02u", now.wMinute, now.wSecond);
    RECT box = ClockBox(hWnd);
    const HGDIOBJ hOld = SelectObject(hdc, g_hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(248, 248, 248));
    DrawTextW(hdc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, hOld);
    EndPaint(hWnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_TIMER: {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        if (now.wSecond != g_nShownSecond) {
            g_nShownSecond = now.wSecond;
            const RECT box = ClockBox(hWnd);
            InvalidateRect(hWnd, &box, FALSE);
        }
        return 0;
    }
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"FloorClock";
    RegisterClassExW(&wc);
    const int nWidth = GetSystemMetrics(SM_CXSCREEN);
    const int nHeight = GetSystemMetrics(SM_CYSCREEN);
    g_hFont = CreateFontW(nHeight * 2 / 5, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                          CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
    const HWND hWnd = CreateWindowExW(WS_EX_TOPMOST, L"FloorClock", L"FloorClock", WS_POPUP | WS_VISIBLE, 0, 0,
                                      nWidth, nHeight, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr) return 1;
    SetTimer(hWnd, kTimer, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(g_hFont);
    return 0;
}
