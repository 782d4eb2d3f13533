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

// What the round page draws may depend on the page, the time it is given and the
// rectangle, and on nothing else: no clock is read here, and nothing is kept from one call
// to the next but cached fonts, which a description always gives alike. The refresh
// measures a drawing, compares it with the one shown to find what changed, then paints as
// measured; anything else would let a change go unseen or the paint differ from the measure.

namespace {

// A share of a measure, taken in whole pixels as measure * numerator / denominator, in
// that order, so that every proportion rounds as it always has.
struct Fraction {
    int nNumerator;
    int nDenominator;
    constexpr int Of(int nMeasure) const { return nMeasure * nNumerator / nDenominator; }
};

// The round page as drawn: each proportion a fraction of the measure it names, and the
// colours the message does not choose. A band is the height of a title line.
constexpr struct RoundPageDrawing {
    Fraction band{1, 6};            // of the page's height
    Fraction measureFont{85, 100};  // of a band: the font the titles are measured in
    Fraction titleFont{70, 100};    // of a band: the height a title too wide shrinks from
    Fraction bar{15, 100};          // of the page's height: the time bar, at its top or bottom
    Fraction barFont{70, 100};      // of the bar's height: its texts
    Fraction captionIndent{1, 3};   // of the bar's height: room before the caption
    Fraction boxPadding{1, 2};      // of the progress label's height: added to its width
    Fraction boxLeast{3, 1};        // of the progress label's height: the narrowest progress box
    Fraction captionLeast{1, 2};    // of the bar's width: the caption's share beside a wide box
    Fraction clockMargin{20, 100};  // of the clock text's height: added to its width for its box
    Fraction clockBox{86, 100};     // of the clock font's height: the clock box's height
    int nLeastClockHeight = 5;      // percent of the page's height, whatever a message asks
    COLORREF clrBarText = RGB(255, 255, 255);
    COLORREF clrTrack = RGB(70, 105, 153);  // the progress box
    COLORREF clrFill = RGB(3, 160, 25);     // the boards played, over the track
} kRound{};

// A percentage a message asks for, of a measure, no less than nLeast and at most all of it.
int Percent(int nMeasure, int nPercent, int nLeast)
{
    return Fraction{std::clamp(nPercent, nLeast, 100), 100}.Of(nMeasure);
}

const std::u16string& PageFace()
{
    static const std::u16string face = u"微软雅黑";
    return face;
}

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
    const int natural = std::max<int>(
        bar.right - std::max<int>(extent.cx + kRound.boxPadding.Of(extent.cy), kRound.boxLeast.Of(extent.cy)), bar.left);
    const int left =
        std::max<int>(natural, std::min<int>(nCaptionEnd, bar.left + kRound.captionLeast.Of(bar.right - bar.left)));
    return ProgressBox{label, RECT{left, bar.top, bar.right, bar.bottom}, progress};
}

// With the bar font selected and the bar's white text colour set.
void DrawProgressBox(CDC& dc, FontCache& fontCache, const ProgressBox& box, int bh)
{
    const RECT& rc = box.rect;
    DrawBarBox(dc, rc, kRound.clrTrack);
    if (box.progress.bFilled) {
        const int fillRight = ProgressFillRight(rc.left, rc.right, box.progress.nSlotRun, box.progress.nSlot);
        DrawBarBox(dc, RECT{rc.left, rc.top, fillRight, rc.bottom}, kRound.clrFill);
    }
    DrawFittedText(dc, fontCache, box.label, rc, kCentredLine, PageFace(), kRound.barFont.Of(bh));
}

RECT TimeBarRect(const RECT& rect, const ScreenPage& page)
{
    const int barHeight = kRound.bar.Of(rect.bottom - rect.top);
    return page.m_round.barAtTop ? RECT{rect.left, rect.top, rect.right, rect.top + barHeight}
                                 : RECT{rect.left, rect.bottom - barHeight, rect.right, rect.bottom};
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
    dc.SetTextColor(kRound.clrBarText);
    dc.SelectObject(fontCache.GetFont(FontDesc(kRound.barFont.Of(bh), PageFace())));

    // The caption and elapsed time are fitted into the bar left of the box, never under it.
    const std::u16string caption =
        page.m_txtCaption ? *page.m_txtCaption + u" " + Utf8ToWide(FormatElapsed(page.m_tEnd, page.m_round.roundSeconds, now))
                          : std::u16string();
    const int captionLeft = bar.left + kRound.captionIndent.Of(bh);
    const std::optional<ProgressBox> box =
        page.m_round.boards.empty()
            ? std::nullopt
            : LayOutProgressBox(dc, bar, page, elapsed, remaining, captionLeft + dc.GetTextExtent(caption).cx);
    const RECT captionRect{captionLeft, bar.top, box ? box->rect.left : bar.right, bar.bottom};
    DrawFittedText(dc, fontCache, caption, captionRect, DT_VCENTER | DT_SINGLELINE, PageFace(), kRound.barFont.Of(bh));

    if (box) DrawProgressBox(dc, fontCache, *box, bh);
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
    const int F = SelectFittingFont(dc, fontCache, text, PageFace(),
                                    Percent(H, page.m_round.clockHeight, kRound.nLeastClockHeight), SIZE{W, H});
    const SIZE extent = dc.GetTextExtent(text);
    const int bw = extent.cx + kRound.clockMargin.Of(extent.cy);
    const int bhc = kRound.clockBox.Of(F);
    const int x = Percent(W, page.m_round.clockX, 0);
    const int y = Percent(H, page.m_round.clockY, 0);
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
    const int band = kRound.band.Of(rect.bottom - rect.top);

    dc.SetBkMode(TRANSPARENT);
    const SavedTextState saved(dc);
    dc.SelectObject(fontCache.GetFont(FontDesc(kRound.measureFont.Of(band), PageFace())));

    if (!page.m_picture.IsNull()) {
        const ScopedStretchMode smooth(dc, HALFTONE);
        page.m_picture.Draw(dc, rect);
    }

    // Titles are measured in the measure font but shrink from the smaller title font.
    dc.SetTextColor(page.m_round.clrTitle);
    DrawFittedText(dc, fontCache, page.m_txtTitle, RECT{rect.left, rect.top, rect.right, rect.top + band}, kCentredLine,
                   PageFace(), kRound.titleFont.Of(band));
    DrawFittedText(dc, fontCache, page.m_txtSubtitle, RECT{rect.left, rect.top + band, rect.right, rect.top + 2 * band},
                   kCentredLine, PageFace(), kRound.titleFont.Of(band));

    const std::int64_t remaining = SecondsUntil(page.m_tEnd, now);
    const std::int64_t elapsed = page.m_round.roundSeconds - remaining;
    if (HasTimeBar(page)) {
        const RECT bar = TimeBarRect(rect, page);
        FillTranslucent(dc, bar);
        DrawTimeBarTexts(dc, fontCache, bar, page, elapsed, remaining, now);
    }
    DrawClock(dc, fontCache, rect, page, remaining, timeSignals);
}
