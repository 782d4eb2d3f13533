#include "pavlune_app.h"

#include <iostream>

#include "core/display_core.h"
#include "core/display_options.h"
#include "net/diag_log.h"
#include "os/lang_index.h"
#include "os/message_box.h"
#include "text/wide_text.h"

CPavlunewinApp::CPavlunewinApp(AppOptions options, std::unique_ptr<AppShell> pShell)
    : m_options(std::move(options)), m_pShell(std::move(pShell))
{
}

CPavlunewinApp::~CPavlunewinApp()
{
    // The window's teardown stops the server; log lines written meanwhile still echo.
    m_pShell.reset();
    if (m_nLogListener >= 0) DiagLog::Unsubscribe(m_nLogListener);
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
    m_pShell->BeforeWindow();
    CDisplayCore& frame = m_pShell->MakeMainFrame(m_options.nPort);
    frame.SetKeepScreenAwake(!m_options.bAllowBlanking);
    if (!ApplyDisplayOptions(frame, m_options)) return false;
    if (!frame.Create()) {
        std::cerr << "pavlune: the main window could not be created" << std::endl;
        return false;
    }
    m_pShell->WindowMade();
    if (m_options.bFullScreen) {
        frame.EnterFullScreen();
    } else if (m_options.nWidth > 0) {
        frame.ShowWithClientSize(m_options.nWidth, m_options.nHeight);
    } else {
        frame.ShowMaximized();
    }
    // Once the window is shown with its size: a script that waits for this line and asks
    // the size at once gets the one the window shows. The server listens from the
    // window's creation on.
    if (const int nPort = frame.ListeningPort(); nPort != 0) {
        std::cout << "listening on port " << nPort << std::endl;
    }
    return true;
}
