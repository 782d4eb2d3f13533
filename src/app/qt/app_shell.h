#pragma once
#include <memory>

#include "core/pavlune_app.h"

class CMainFrame;
class QScreen;
class QuitSignals;

// The start-up's part on Qt. What it does by itself:
// - SIGINT and SIGTERM close the window, installed before the port is announced;
// - the main window on the monitor chosen;
// - Qt's event loop until the window closes.
class QtAppShell : public AppShell {
public:
    // pScreen: the monitor to open on; null for the primary one.
    explicit QtAppShell(QScreen* pScreen);
    ~QtAppShell() override;

    void BeforeWindow() override;
    CDisplayCore& MakeMainFrame(int nPort) override;
    void WindowMade() override {}
    int RunUntilClosed() override;

private:
    QScreen* m_pScreen;
    bool m_bQuitRequested = false;
    std::unique_ptr<QuitSignals> m_pQuitSignals;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
