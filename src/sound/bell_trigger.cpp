#include "bell_trigger.h"

#include <algorithm>

CBellTrigger::CBellTrigger(const std::vector<int>& stageSeconds, std::function<void()> ring)
    : m_thresholds(stageSeconds), m_ring(std::move(ring))
{
    m_thresholds.push_back(0);
}

void CBellTrigger::OnTick(const std::optional<RoundOnScreen>& shown)
{
    if (!shown) {
        m_tracked.reset();
        return;
    }
    if (!m_tracked || m_tracked->tEnd != shown->tEnd || m_tracked->nRoundSeconds != shown->nRoundSeconds) {
        m_tracked = shown;
        return;
    }
    const int nLeast = m_tracked->nRemaining;
    const int nNow = shown->nRemaining;
    if (nNow >= nLeast) return;
    m_tracked->nRemaining = nNow;
    // Several crossed in one step (the clock jumped on) ring once: the room needs one bell.
    const bool bCrossed = std::any_of(m_thresholds.begin(), m_thresholds.end(), [&](int t) {
        return t <= shown->nRoundSeconds && nLeast > t && t >= nNow;
    });
    if (bCrossed) m_ring();
}
