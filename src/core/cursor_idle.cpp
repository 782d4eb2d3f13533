#include "cursor_idle.h"

void CursorIdle::SetActive(bool bActive, std::uint64_t nNowMs)
{
    m_bActive = bActive;
    m_bHidden = false;
    m_nLastActivityMs = nNowMs;
}

bool CursorIdle::OnMouseActivity(std::uint64_t nNowMs)
{
    m_nLastActivityMs = nNowMs;
    const bool bWasHidden = m_bHidden;
    m_bHidden = false;
    return bWasHidden;
}

bool CursorIdle::Tick(std::uint64_t nNowMs)
{
    if (!m_bActive || m_bHidden || nNowMs - m_nLastActivityMs < kIdleMs) return false;
    m_bHidden = true;
    return true;
}
