#include <QScreen>

#include <iostream>

#include "display/page_state_store.h"
#include "frame/main_frame.h"

void CMainFrame::SetPageStateDirectory(const std::string& strDir, bool bRestore)
{
    m_strStateDir = strDir;
    m_bRestoreState = bRestore;
}

void CMainFrame::StartPageState()
{
    if (m_strStateDir.empty() || m_pPageState) return;
    // Saved pictures are kept no larger than the window, like those that arrive; before
    // the window has its size, no larger than its screen.
    const SIZE screenSize = screen() != nullptr ? SIZE{screen()->size().width(), screen()->size().height()} : SIZE{};
    auto fitTo = [this, screenSize] {
        const SIZE client = ClientSize();
        return client.cx <= 0 || client.cy <= 0 ? screenSize : client;
    };
    auto report = [](const std::string& line) { std::cerr << ("pavlune: " + line + "\n") << std::flush; };
    m_pPageState = std::make_unique<PageStateStore>(m_strStateDir, m_pages, m_bRestoreState, fitTo, report);
}

void CMainFrame::SavePages()
{
    if (m_pPageState) m_pPageState->Save();
}
