#pragma once
#include <cstdint>
#include <vector>

// The board in play and how far its slot has run, for the round page's progress box.
struct BoardProgress {
    bool bShown = false;        // a box is drawn at all
    int nBoard = 0;             // number in the label ("No %1 board" / "Current progress:%1")
    bool bFilled = false;       // the fill box is drawn (elapsed > 0)
    std::int64_t nSlotRun = 0;  // r: seconds into the current board's slot
    std::int64_t nSlot = 0;     // s: seconds of one board's slot
};

// Each board gets T / n - 2 seconds (T / 2 - 2 with no boards). No box once the round
// has ended, and none for a slot of exactly 0 seconds, which has no position to show.
BoardProgress ComputeBoardProgress(std::int64_t nElapsed, std::int64_t nRemaining, int nRoundSeconds,
                                   const std::vector<int>& boards);

// Right edge of the fill box in a box from nLeft to nRight: the slot's share of the
// width, at least one pixel.
int ProgressFillRight(int nLeft, int nRight, std::int64_t nSlotRun, std::int64_t nSlot);
