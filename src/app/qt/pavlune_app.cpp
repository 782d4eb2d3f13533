#include "pavlune_app.h"

#include <QApplication>

#include <iostream>

#include "app/qt/quit_signals.h"
#include "app/qt/main_frame.h"
#include "core/display_options.h"
#include "net/diag_log.h"
#include "os/lang_index.h"
#include "os/message_box.h"
#include "text/wide_text.h"

CPavlunewinApp::CPavlunewinApp(AppOptions options, QScreen* pScreen)
    : m_options(std::move(options)), m_pScreen(pScreen)
{
}

CPavlunewinApp::~CPavlunewinApp()
{
    m_pQuitSignals.reset();
    // The window's teardown stops the server; log lines written meanwhile still echo.
    m_pMainWnd.reset();
    if (m_nLogListener >= 0) {
        DiagLog::Unsubscribe(m_nLogListener);
    }
}

bool CPavlunewinApp::InitInstance()
{
    if (!m_hMutex.Acquire()) {
        ShowMessageBox(AlreadyRunningText(WindowLangIndex()));
        return false;
    }
    if (m_options.bVerbose) {
        // One write per line, so lines from the server's threads never interleave.
        m_nLogListener = DiagLog::Subscribe([](const std::u16string& line) {
            std::cerr << (WideToUtf8(line) + "\n") << std::flush;
        });
    }
    // Installed before the port is announced: whoever reads the announcement may signal
    // at once. A signal that comes before the window is shown ends the program as soon
    // as it would be shown.
    m_pQuitSignals = std::make_unique<QuitSignals>([this] {
        m_bQuitRequested = true;
        if (m_pMainWnd && m_pMainWnd->isVisible()) {
            m_pMainWnd->close();
        }
    });
    m_pMainWnd = std::make_unique<CMainFrame>(m_options.nPort);
    m_pMainWnd->SetTargetScreen(m_pScreen);
    m_pMainWnd->SetKeepScreenAwake(!m_options.bAllowBlanking);
    if (!ApplyDisplayOptions(*m_pMainWnd, m_options)) return false;
    if (!m_pMainWnd->Create()) {
        std::cerr << "pavlune: the main window could not be created" << std::endl;
        return false;
    }
    if (const int nPort = m_pMainWnd->ListeningPort(); nPort != 0) {
        std::cout << "listening on port " << nPort << std::endl;
    }
    if (m_options.bFullScreen) {
        m_pMainWnd->EnterFullScreen();
    } else if (m_options.nWidth > 0) {
        m_pMainWnd->ShowWithClientSize(m_options.nWidth, m_options.nHeight);
    } else {
        m_pMainWnd->ShowMaximized();
    }
    return true;
}

int CPavlunewinApp::Run()
{
    if (m_bQuitRequested) {
        return 0;
    }
    QApplication::exec();
    return 0;
}
