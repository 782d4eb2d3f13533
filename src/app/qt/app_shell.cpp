#include "app_shell.h"

#include <QApplication>

#include "app/qt/main_frame.h"
#include "app/qt/quit_signals.h"

QtAppShell::QtAppShell(QScreen* pScreen) : m_pScreen(pScreen) {}

QtAppShell::~QtAppShell()
{
    m_pQuitSignals.reset();
    m_pMainWnd.reset();
}

void QtAppShell::BeforeWindow()
{
    // Whoever reads the port's announcement may signal at once. A signal that comes
    // before the window is shown ends the program as soon as it would be shown.
    m_pQuitSignals = std::make_unique<QuitSignals>([this] {
        m_bQuitRequested = true;
        if (m_pMainWnd && m_pMainWnd->isVisible()) {
            m_pMainWnd->close();
        }
    });
}

CDisplayCore& QtAppShell::MakeMainFrame(int nPort)
{
    m_pMainWnd = std::make_unique<CMainFrame>(nPort);
    m_pMainWnd->SetTargetScreen(m_pScreen);
    return *m_pMainWnd;
}

int QtAppShell::RunUntilClosed()
{
    if (m_bQuitRequested) {
        return 0;
    }
    QApplication::exec();
    return 0;
}
