#include <mutex>
#include <optional>

#include "display/pages/round_time.h"
#include "core/display_core.h"
#include "sound/bell_trigger.h"
#include "sound/sound_player.h"

void CDisplayCore::SetTimeSignals(const TimeSignals& timeSignals, std::unique_ptr<CSoundPlayer> pBell)
{
    m_timeSignals = timeSignals;
    m_pBellTrigger.reset();
    m_pBell = std::move(pBell);
    if (m_pBell) {
        std::vector<int> stageSeconds;
        for (const WarnStage& stage : m_timeSignals.stages) stageSeconds.push_back(stage.nSeconds);
        m_pBellTrigger = std::make_unique<CBellTrigger>(stageSeconds, [this] { m_pBell->Ring(); });
    }
}

void CDisplayCore::FeedBell()
{
    if (!m_pBellTrigger) return;
    std::optional<RoundOnScreen> shown;
    {
        // The window thread never waits for message handling: a busy list skips this tick,
        // and the next one sees what it missed.
        const std::unique_lock lock(m_pages.Mutex(), std::try_to_lock);
        if (!lock.owns_lock()) return;
        const int nPage = m_pages.CurrentIndex();
        if (nPage < m_pages.PageCount() && m_pages.Page(nPage).m_bRoundPage) {
            const ScreenPage& page = m_pages.Page(nPage);
            shown = RoundOnScreen{page.m_tEnd, page.m_round.roundSeconds, SecondsUntil(page.m_tEnd)};
        }
    }
    m_pBellTrigger->OnTick(shown);
}
