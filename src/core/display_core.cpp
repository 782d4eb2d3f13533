#include "display_core.h"

#include <algorithm>
#include <iostream>
#include <mutex>

#include "display/saved/page_state_store.h"
#include "core/screen_picture_service.h"
#include "core/snapshot_writer.h"
#include "os/clock.h"
#include "draw/drawing_record.h"
#include "sound/bell_trigger.h"
#include "sound/sound_player.h"

CDisplayCore::CDisplayCore(int nPort)
    : m_nPort(nPort), m_pages([this] { RequestRepaint(); }), m_tStarted(Clock::Now())
{
}

CDisplayCore::~CDisplayCore()
{
    // Its thread answers through the server; message handling may still hand it requests,
    // which it then closes at once.
    if (m_pPictureService) m_pPictureService->Stop();
    StopServer();
    m_pSnapshot.reset();
    // Ends before the list: its thread may be putting the saved pages in. The teardown's
    // clearing below is no change to save, so a restart brings the pages back.
    m_pPageState.reset();
    std::lock_guard lock(m_pages.Mutex());
    m_pages.ClearPages();
}

void CDisplayCore::StartServing(SIZE screen)
{
    StopServer();
    if (!m_strStateDir.empty() && !m_pPageState) {
        // Saved pictures are kept no larger than the window, like those that arrive;
        // before the window has its size, no larger than its screen.
        auto fitTo = [this, screen] {
            const SIZE client = ClientSize();
            return client.cx <= 0 || client.cy <= 0 ? screen : client;
        };
        auto report = [](const std::string& line) { std::cerr << ("pavlune: " + line + "\n") << std::flush; };
        m_pPageState = std::make_unique<PageStateStore>(m_strStateDir, m_pages, m_bRestoreState, fitTo, report);
    }
    if (!m_pPictureService) {
        m_pPictureService = std::make_unique<ScreenPictureService>(
            [this](Image32 reuse, std::function<void(Image32)> deliver) {
                RunOnWindowThread([this, picture = std::make_shared<Image32>(std::move(reuse)),
                                   deliver = std::move(deliver)] {
                    ShownPicture(*picture);
                    deliver(std::move(*picture));
                });
            },
            [this](SOCKET s, const CommMsg_base* pReply) {
                if (pReply != nullptr) m_pServer->SendMsg({s}, *pReply);
                m_pServer->CloseConnection(s, kCloseDelay);
            });
    }
    m_pServer = std::make_unique<CIOCPclass2016BC>();
    m_pServer->SetListenRules(m_listenRules);
    m_pServer->CreateField(m_nPort, this);
}

void CDisplayCore::SetPageStateDirectory(const std::string& strDir, bool bRestore)
{
    m_strStateDir = strDir;
    m_bRestoreState = bRestore;
}

void CDisplayCore::SavePages()
{
    if (m_pPageState) m_pPageState->Save();
}

int CDisplayCore::ListeningPort() const
{
    return m_pServer ? m_pServer->ListeningPort() : 0;
}

InfoFooter CDisplayCore::ServerFooter() const
{
    // A display that could not listen names the port it was asked for.
    const int nListening = ListeningPort();
    return InfoFooter{nListening != 0 ? nListening : m_nPort, nListening != 0};
}

ScreenState CDisplayCore::CurrentScreenState() const
{
    return ScreenState{m_bFullScreen, GetScreenSize(), ServerFooter(), m_timeSignals};
}

void CDisplayCore::StoreClientSize(SIZE client)
{
    const auto w = static_cast<std::uint32_t>(std::max<int>(client.cx, 0));
    const auto h = static_cast<std::uint32_t>(std::max<int>(client.cy, 0));
    m_nClientSize.store((static_cast<std::uint64_t>(w) << 32) | h, std::memory_order_relaxed);
}

SIZE CDisplayCore::ClientSize() const
{
    const std::uint64_t packed = m_nClientSize.load(std::memory_order_relaxed);
    return SIZE{static_cast<int>(packed >> 32), static_cast<int>(packed & 0xFFFFFFFFu)};
}

ScreenSize CDisplayCore::GetScreenSize() const
{
    const SIZE client = ClientSize();
    return ::GetScreenSize(client.cx, client.cy);
}

void CDisplayCore::PaintScreen(CDC& dc, const std::vector<RECT>& parts)
{
    m_refresh.Paint(dc, parts, ClientSize(), m_pages, CurrentScreenState());
}

void CDisplayCore::SetSnapshotFile(const std::string& strPath)
{
    m_pSnapshot = strPath.empty() ? nullptr : std::make_unique<SnapshotWriter>(strPath);
}

void CDisplayCore::OfferSnapshot()
{
    if (!m_bSnapshotOwed || !m_pSnapshot->IsDue()) return;
    Image32 picture;
    ShownPicture(picture);
    m_pSnapshot->Offer(std::move(picture), [this] {
        return m_refresh.Shown() != nullptr ? DrawingRecordText(*m_refresh.Shown()) : std::string();
    });
    m_bSnapshotOwed = false;
}
