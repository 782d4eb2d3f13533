#pragma once
#include <cstdint>

// While active, the mouse cursor over the window hides once the mouse has not moved for
// three seconds, and comes back at the next movement or click. Inactive, the window keeps
// its arrow. Times are milliseconds of the window system's steady clock, as the shell
// reads them; window thread only.
class CursorIdle {
public:
    static constexpr std::uint64_t kIdleMs = 3000;

    void SetActive(bool bActive, std::uint64_t nNowMs);
    // A movement or click: the cursor shows. True when it was hidden.
    bool OnMouseActivity(std::uint64_t nNowMs);
    // At each tick: true when the cursor is to hide now.
    bool Tick(std::uint64_t nNowMs);
    bool IsHidden() const { return m_bHidden; }

private:
    bool m_bActive = false;
    bool m_bHidden = false;
    std::uint64_t m_nLastActivityMs = 0;
};
