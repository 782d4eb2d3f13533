#include "round_page.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "display/drawing/draw_kit.h"
#include "display/drawing/font_cache.h"
#include "display/drawing/round_progress.h"
#include "display/pages/round_time.h"
#include "display/pages/screen_page.h"
#include "display/drawing/text_fit.h"
#include "display/pages/time_signals.h"
#include "draw/gdi_saved_state.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

const std::u16string& PageFace()
{
    static const std::u16string face = u"微软雅黑";
    return face;
}

constexpr COLORREF kBarText = RGB(255, 255, 255);
constexpr COLORREF kTrack = RGB(70, 105, 153);
constexpr COLORREF kFill = RGB(3, 160, 25);
constexpr unsigned kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The box at the right end of the time bar naming the board in play: its label and its
// place, measured in the bar font. A box wider than half the bar gives way to a caption
// that would run under it, down to half the bar, so that on a narrow screen the caption
// keeps a readable share; it never reaches past the bar's left end, so its label stays
// on the screen however long a board list reads.
struct ProgressBox {
    std::u16string label;
    RECT rect;
    BoardProgress progress;
};

std::optional<ProgressBox> LayOutProgressBox(CDC& dc, const RECT& bar, const ScreenPage& page,
                                             std::int64_t elapsed, std::int64_t remaining, int nCaptionEnd)
{
    const std::vector<int>& boards = page.m_boards;
    const BoardProgress progress = ComputeBoardProgress(elapsed, remaining, page.m_round.roundSeconds, boards);
    if (!progress.bShown) return std::nullopt;

    std::u16string label;
    if (elapsed < 0) {
        label = page.m_txtBoards;
    } else {
        const char* text = boards.empty() ? LangText::kProgress : LangText::kBoard;
        label = SubstitutePlaceholder(Utf8ToWide(ChooseLangText(text, page.m_round.language)), progress.nBoard);
    }

    const SIZE extent = dc.GetTextExtent(label);
    const int natural = std::max<int>(bar.right - std::max<int>(extent.cx + extent.cy / 2, 3 * extent.cy), bar.left);
    const int left = std::max<int>(natural, std::min<int>(nCaptionEnd, bar.left + (bar.right - bar.left) / 2));
    return ProgressBox{label, RECT{left, bar.top, bar.right, bar.bottom}, progress};
}

// With the bar font selected and the bar's white text colour set.
void DrawProgressBox(CDC& dc, const ProgressBox& box, int bh)
{
    const RECT& rc = box.rect;
    DrawBarBox(dc, rc, kTrack);
    if (box.progress.bFilled) {
        const int fillRight = ProgressFillRight(rc.left, rc.right, box.progress.nSlotRun, box.progress.nSlot);
        DrawBarBox(dc, RECT{rc.left, rc.top, fillRight, rc.bottom}, kFill);
    }
    DrawFittedText(dc, box.label, rc, kCentredLine, PageFace(), bh * 70 / 100);
}

RECT TimeBarRect(const RECT& rect, const ScreenPage& page)
{
    const int H = rect.bottom - rect.top;
    return page.m_round.barAtTop ? RECT{rect.left, rect.top, rect.right, rect.top + H * 15 / 100}
                            : RECT{rect.left, rect.bottom + (rect.top - rect.bottom) * 15 / 100, rect.right,
                                   rect.bottom};
}

bool HasTimeBar(const ScreenPage& page)
{
    return !page.m_round.barCaption.empty() || !page.m_round.boards.empty();
}

// Over the bar's darkened band; every pixel drawn lies in the bar.
void DrawTimeBarTexts(CDC& dc, FontCache& fontCache, const RECT& bar, const ScreenPage& page, std::int64_t elapsed,
                      std::int64_t remaining, DateTime now)
{
    const int bh = bar.bottom - bar.top;
    const SavedTextState saved(dc);
    dc.SetTextColor(kBarText);
    dc.SelectObject(fontCache.GetFont(FontDesc(bh * 70 / 100, PageFace())));

    // The caption and elapsed time are fitted into the bar left of the box, never under it.
    const std::u16string caption =
        page.m_txtCaption ? *page.m_txtCaption + u" " + Utf8ToWide(FormatElapsed(page.m_tEnd, page.m_round.roundSeconds, now))
                          : std::u16string();
    const int captionLeft = bar.left + bh / 3;
    const std::optional<ProgressBox> box =
        page.m_round.boards.empty()
            ? std::nullopt
            : LayOutProgressBox(dc, bar, page, elapsed, remaining, captionLeft + dc.GetTextExtent(caption).cx);
    const RECT captionRect{captionLeft, bar.top, box ? box->rect.left : bar.right, bar.bottom};
    DrawFittedText(dc, caption, captionRect, DT_VCENTER | DT_SINGLELINE, PageFace(), bh * 70 / 100);

    if (box) DrawProgressBox(dc, *box, bh);
}

// Where the big clock goes for the time left: its text and its box. Leaves the clock's
// font selected.
struct ClockLayout {
    std::u16string text;
    RECT box;
};

ClockLayout LayOutClock(CDC& dc, FontCache& fontCache, const RECT& rect, const ScreenPage& page,
                        std::int64_t remaining)
{
    const int W = rect.right - rect.left;
    const int H = rect.bottom - rect.top;
    const ClockFace face = MakeClockFace(remaining, page.m_round.roundSeconds);
    std::u16string text = Utf8ToWide(face.text);

    // The asked height while the text fits on the screen at all; otherwise just small
    // enough that it does, so no digit and no sign is ever lost.
    const int F = SelectFittingFont(dc, fontCache, text, PageFace(), H * std::clamp(page.m_round.clockHeight, 5, 100) / 100,
                                    SIZE{W, H});
    const SIZE extent = dc.GetTextExtent(text);
    const int bw = extent.cx + extent.cy * 20 / 100;
    const int bhc = F * 86 / 100;
    const int x = W * std::clamp(page.m_round.clockX, 0, 100) / 100;
    const int y = H * std::clamp(page.m_round.clockY, 0, 100) / 100;
    int left = rect.left - bw / 2 + x;
    int top = rect.top - bhc / 2 + y;
    // A clock placed near an edge moves inwards just as far as its text needs to show whole.
    const SIZE inwards = OffsetInside(dc.GetTextCell(text, RECT{left, top, left + bw, top + bhc}, kCentredLine), rect);
    left += inwards.cx;
    top += inwards.cy;
    return ClockLayout{std::move(text), RECT{left, top, left + bw, top + bhc}};
}

void DrawClock(CDC& dc, FontCache& fontCache, const RECT& rect, const ScreenPage& page, std::int64_t remaining,
               const TimeSignals& timeSignals)
{
    const SavedTextState saved(dc);
    const ClockLayout clock = LayOutClock(dc, fontCache, rect, page, remaining);
    if (page.m_round.clockBox) FillTranslucent(dc, clock.box);
    dc.SetTextColor(ClockColour(remaining, page.m_round.roundSeconds, page.m_round.clrClock, page.m_round.clrOvertime, timeSignals));
    // Not clipped to its box: the cell is taller than the box, and the text already fits.
    dc.DrawText(clock.text, clock.box, DT_NOCLIP | kCentredLine);
}

}  // namespace

void DrawRoundPage(CDC& dc, FontCache& fontCache, RECT rect, const ScreenPage& page, const TimeSignals& timeSignals,
                   DateTime now)
{
    const int H = rect.bottom - rect.top;
    const int h6 = H / 6;

    dc.SetBkMode(TRANSPARENT);
    const SavedTextState saved(dc);
    dc.SelectObject(fontCache.GetFont(FontDesc(h6 * 85 / 100, PageFace())));

    if (!page.m_picture.IsNull()) {
        const ScopedStretchMode smooth(dc, HALFTONE);
        page.m_picture.Draw(dc, rect);
    }

    // Titles are measured in the 85 % font but shrink from 70 % when too wide.
    dc.SetTextColor(page.m_round.clrTitle);
    DrawFittedText(dc, page.m_txtTitle, RECT{rect.left, rect.top, rect.right, rect.top + h6},
                   kCentredLine, PageFace(), h6 * 70 / 100);
    DrawFittedText(dc, page.m_txtSubtitle,
                   RECT{rect.left, rect.top + h6, rect.right, rect.top + 2 * h6}, kCentredLine, PageFace(),
                   h6 * 70 / 100);

    const std::int64_t remaining = SecondsUntil(page.m_tEnd, now);
    const std::int64_t elapsed = page.m_round.roundSeconds - remaining;
    if (HasTimeBar(page)) {
        const RECT bar = TimeBarRect(rect, page);
        FillTranslucent(dc, bar);
        DrawTimeBarTexts(dc, fontCache, bar, page, elapsed, remaining, now);
    }
    DrawClock(dc, fontCache, rect, page, remaining, timeSignals);
}
