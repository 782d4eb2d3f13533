#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "os/date_time.h"

// The round page on the screen at one tick of the window's timer.
struct RoundOnScreen {
    DateTime tEnd;           // identifies the round: a new round page brings a new end
    int nRoundSeconds = 0;
    int nRemaining = 0;      // SecondsUntil(tEnd) at this tick
};

// Decides when the bell rings: when the remaining time of the round on the screen
// reaches a warning stage or 0, once for each, and only for what the display itself saw
// happen. A round met for the first time (a new page, a page shown again after notes,
// the program just started) is only taken note of, so a page that arrives inside a stage
// stays silent. The time already reached is remembered, so a clock set back and running
// down again does not ring a second time. Stages longer than the round never ring: they
// are entered as the round begins, not crossed.
//
// Window thread only. `ring` is called on that thread and must not block (the player
// only queues).
class CBellTrigger {
public:
    CBellTrigger(const std::vector<int>& stageSeconds, std::function<void()> ring);

    // shown: the round page on the screen now, or nothing (no page, a note, the
    // information screen).
    void OnTick(const std::optional<RoundOnScreen>& shown);

private:
    std::vector<int> m_thresholds;
    std::function<void()> m_ring;
    std::optional<RoundOnScreen> m_tracked;   // nRemaining: the least seen so far
};
