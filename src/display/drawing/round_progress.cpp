#include "round_progress.h"

#include <algorithm>
#include <climits>

BoardProgress ComputeBoardProgress(std::int64_t nElapsed, std::int64_t nRemaining, int nRoundSeconds,
                                   const std::vector<int>& boards)
{
    const auto n = static_cast<std::int64_t>(boards.size());
    const std::int64_t per = n > 0 ? nRoundSeconds / n : nRoundSeconds / 2;
    const std::int64_t s = per - 2;
    if (nRemaining < 0 || s == 0) return BoardProgress{};

    const std::int64_t q = nElapsed / s;
    const std::int64_t r = nElapsed % s;
    std::int64_t k = r == 0 ? q : q + 1;
    if (k == 0) k = 1;
    if (k > n) k = n;

    std::int64_t board = k;
    if (n > 0) board = (k >= 1 && k <= n) ? boards[static_cast<std::size_t>(k - 1)] : -1;

    BoardProgress progress;
    progress.bShown = true;
    progress.nBoard = static_cast<int>(std::clamp<std::int64_t>(board, INT_MIN, INT_MAX));
    progress.bFilled = nElapsed > 0;
    progress.nSlotRun = r;
    progress.nSlot = s;
    return progress;
}

int ProgressFillRight(int nLeft, int nRight, std::int64_t nSlotRun, std::int64_t nSlot)
{
    std::int64_t right = nLeft + static_cast<std::int64_t>(nRight - nLeft) * nSlotRun / nSlot;
    if (right <= nLeft) right = std::int64_t{nLeft} + 1;
    return static_cast<int>(std::clamp<std::int64_t>(right, INT_MIN, INT_MAX));
}
