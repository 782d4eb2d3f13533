#include "main_frame.h"

#include <windowsx.h>

#include "core/screen_awake.h"
#include "app/win32/window_styles.h"

namespace {

constexpr wchar_t kWindowClass[] = L"Pavlune_win";
constexpr wchar_t kWindowTitle[] = L"Pavlune_win";
// A repaint asked for by another thread (a message changed the page list).
constexpr UINT WM_APP_REFRESH = WM_APP + 1;

bool RegisterWindowClass(HINSTANCE hInstance, WNDPROC proc)
{
    // No class style (no redraw on resize, no double clicks), the arrow, and no background
    // brush: every pixel of the client area comes from the paint handler.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, kArrowCursor);
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(kIconResource));
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

CMainFrame::CMainFrame(int nPort) : CDisplayCore(nPort) {}

CMainFrame::~CMainFrame()
{
    StopServer();
    if (m_hWnd != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
}

bool CMainFrame::Create()
{
    const HINSTANCE hInstance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(hInstance, &CMainFrame::WindowProc)) return false;
    // The restored form of a window that starts maximised: three quarters of the work
    // area of its monitor, centred, so that it maximises on that monitor.
    const RECT work = WorkArea();
    const int nWidth = (work.right - work.left) * 3 / 4;
    const int nHeight = (work.bottom - work.top) * 3 / 4;
    CreateWindowExW(0, kWindowClass, kWindowTitle, kWindowedStyle,
                    work.left + (work.right - work.left - nWidth) / 2, work.top + (work.bottom - work.top - nHeight) / 2,
                    nWidth, nHeight, nullptr, nullptr, hInstance, this);
    return m_hWnd != nullptr;
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_NCCREATE) {
        auto* pFrame = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        pFrame->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pFrame));
    }
    auto* pFrame = reinterpret_cast<CMainFrame*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pFrame == nullptr) return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return pFrame->OnWindowMessage(nMsg, wParam, lParam);
}

LRESULT CMainFrame::OnWindowMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        OnTimer();
        return 0;
    case WM_APP_REFRESH:
        m_bRefreshPosted.store(false);
        OnRepaintRequest();
        return 0;
    case WM_SIZE:
        OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnMouseActivity();
        OnRButtonDown();
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        OnMouseActivity();
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && IsCursorHidden()) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam == VK_F11 ? FrameKey::F11 : wParam == VK_ESCAPE ? FrameKey::Escape : FrameKey::Other)) {
            return 0;
        }
        break;
    case WM_DPICHANGED:
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        // A new resolution: full screen covers the monitor as it is now.
        if (m_bFullScreen) ShowFullScreen();
        break;
    case WM_DESTROY:
        m_hRepaintTarget.store(nullptr);
        m_hWnd = nullptr;
        m_pScreenAwake.reset();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hWnd, nMsg, wParam, lParam);
}

int CMainFrame::OnCreate()
{
    const RECT monitor = MonitorRect();
    StartServing(SIZE{monitor.right - monitor.left, monitor.bottom - monitor.top});
    m_hRepaintTarget.store(m_hWnd);
    if (m_nRepaintTimer == 0) {
        m_nRepaintTimer = SetTimer(m_hWnd, IDT_REPAINT, kRepaintPeriodMs, nullptr);
    }
    return 0;
}

void CMainFrame::ShowMaximized()
{
    ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);
    UpdateWindow(m_hWnd);
}

void CMainFrame::ShowWithClientSize(int nWidth, int nHeight)
{
    RECT rc{0, 0, nWidth, nHeight};
    AdjustWindowRectExForDpi(&rc, kWindowedStyle, FALSE, 0, GetDpiForWindow(m_hWnd));
    const RECT work = WorkArea();
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    SetWindowPos(m_hWnd, nullptr, work.left, work.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(m_hWnd);
}

void CMainFrame::OnSize(int nWidth, int nHeight)
{
    StoreClientSize(SIZE{nWidth, nHeight});
    const bool bSameSize = m_pScreen ? m_pScreen->Width() == nWidth && m_pScreen->Height() == nHeight
                                     : nWidth <= 0 || nHeight <= 0;
    if (!bSameSize) {
        // The old picture goes first: two of a large screen's size need not be held at once.
        m_pScreen.reset();
        if (nWidth > 0 && nHeight > 0) m_pScreen = std::make_unique<DibSection>(nWidth, nHeight);
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

void CMainFrame::RequestRepaint()
{
    // One request waiting is enough: the tick it brings measures the screen of then.
    const HWND hWnd = m_hRepaintTarget.load();
    if (hWnd != nullptr && !m_bRefreshPosted.exchange(true)) {
        if (!PostMessageW(hWnd, WM_APP_REFRESH, 0, 0)) m_bRefreshPosted.store(false);
    }
}

void CMainFrame::ShownPicture(Image32& picture) const
{
    if (IsWindowVisible(m_hWnd) && m_pScreen) {
        m_pScreen->OpaqueCopyInto(picture);
    } else {
        picture = Image32();
    }
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
