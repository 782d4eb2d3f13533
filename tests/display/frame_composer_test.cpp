#include <gtest/gtest.h>

#include <QPainter>

#include <mutex>
#include <string>
#include <vector>

#include "display/compose_frame.h"
#include "display/frame_composer.h"
#include "whole_composition.h"
#include "display/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "platform/clock.h"
#include "render_support.h"

namespace {

// What happens to the list before a tick is composed.
enum class Change { None, Note, Round, Clear };

struct Tick {
    int nAdvance = 1;
    Change change = Change::None;
};

struct ComposerCase {
    const char* name;
    int nRemaining;
    bool bBarAtTop = false;
    int nClockX = 50;
    int nClockY = 50;
    bool bKeyedPicture = false;
    QSize client{1920, 1080};
    std::vector<Tick> ticks;
    COLORREF clrWarn = kDefaultWarnColour;
};

std::vector<Tick> Seconds(int n)
{
    return std::vector<Tick>(static_cast<std::size_t>(n), Tick{});
}

class FrameComposerTest : public RenderTest, public ::testing::WithParamInterface<ComposerCase> {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override
    {
        Clock::UseSystemTime();
        RenderTest::TearDown();
    }

    void Apply(Change change)
    {
        const ComposerCase& c = GetParam();
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        if (change == Change::Round) {
            ScreenPage::RoundFields f;
            f.title = "Round 4 of 7";
            f.subtitle = "Open pairs";
            f.remainingSeconds = c.nRemaining;
            f.roundSeconds = 3600;
            f.boards = "1~8";
            f.barCaption = "Time";
            f.barAtTop = c.bBarAtTop;
            f.clockX = c.nClockX;
            f.clockY = c.nClockY;
            f.clockHeight = 40;
            f.clockBox = true;
            f.clrTitle = RGB(248, 248, 232);
            f.clrClock = RGB(248, 248, 248);
            f.clrOvertime = RGB(255, 64, 64);
            const std::vector<std::uint8_t> picture =
                c.bKeyedPicture ? EncodePicture(StripedPicture(4, 1, {RGB(255, 1, 254), RGB(30, 60, 90)}), "PNG")
                                : std::vector<std::uint8_t>{};
            f.pictureData = picture.data();
            f.pictureLength = static_cast<int>(picture.size());
            m_pages.AddRoundPage(f);
        } else if (change == Change::Note) {
            CommMsg_base msg;
            msg.ResetMsg(MSGID_NOTE_PAGE);
            Attach(msg, EncodePicture(StripedPicture(3, 2, {RGB(200, 0, 0), RGB(0, 200, 0)}), "PNG"));
            m_pages.OnNotePageMessage(msg);
        } else if (change == Change::Clear) {
            m_pages.ClearPages();
        }
    }

    ScreenPageList m_pages;
};

// Tick by tick, the screen the composer paints on ends up as the kept image of a whole
// composition, and outside the part reported as changed it still shows the picture
// before. The ticks vary how the window drives it: compared with the screen's picture
// (a tick) or not (a repaint), painted at once or in two parts.
TEST_P(FrameComposerTest, EachTickShowsWhatAWholeCompositionShows)
{
    const ComposerCase& c = GetParam();
    const ScreenState state{false, {c.client.width(), c.client.height()},
                            {}, TimeSignals{{WarnStage{5, c.clrWarn}}, true, ""}};
    QImage whole = NewCanvas(c.client.width(), c.client.height(), RGB(9, 9, 9));
    QImage screen = whole.copy();
    FrameComposer composer;
    Apply(Change::Round);
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
        Clock::Advance(c.ticks[i].nAdvance);
        Apply(c.ticks[i].change);
        const QImage before = screen.copy();
        const bool bCompared = i % 2 == 0;
        const std::optional<QRegion> changed = composer.Compose(c.client, m_pages, state, bCompared ? &screen : nullptr);
        ASSERT_TRUE(changed) << i;
        ASSERT_EQ(composer.Pending(), *changed) << i;
        {
            QPainter painter(&screen);
            if (i % 3 == 1) {
                const QRegion top(0, 0, c.client.width(), c.client.height() / 2);
                composer.Paint(painter, top);
                ASSERT_EQ(composer.Pending(), changed->subtracted(top)) << i;
            }
            composer.Paint(painter, *changed);
        }
        ASSERT_TRUE(composer.Pending().isEmpty()) << i;
        composer.Settle();
        ASSERT_TRUE(ComposeFrame(whole, c.client, m_pages, state)) << i;
        if (screen != whole) {
            Keep(whole, std::string(c.name) + "-whole");
            Keep(screen, std::string(c.name) + "-partial");
            FAIL() << c.name << ": tick " << i << " differs from the whole composition";
        }
        QImage shown = before;
        for (const QRect& area : *changed) {
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) shown.setPixel(x, y, screen.pixel(x, y));
            }
        }
        ASSERT_TRUE(shown == screen) << c.name << ": tick " << i << " changed pixels outside the reported part";
    }
}

const ComposerCase kCases[] = {
    // Across the change from board 1 to board 2: the box's label and fill move.
    {"board_change", 3153, false, 50, 50, false, {1920, 1080}, Seconds(4)},
    // Warning colour, then overtime blinking; the progress box goes at the end.
    {"into_overtime", 7, false, 50, 50, false, {1920, 1080}, Seconds(10)},
    // The start: the framed countdown gives way to the running clock.
    {"start", 3602, false, 50, 50, false, {1280, 720}, Seconds(4)},
    // A clock that gets narrower: "10:00" becomes "09:59".
    {"narrower_clock", 601, false, 50, 50, false, {1920, 1080}, Seconds(3)},
    // A clock pushed into the corner, over the top bar and the titles.
    {"clock_over_top_bar", 1800, true, 98, 2, false, {1920, 1080}, Seconds(3)},
    // A background picture in the key colour lets the old picture show through.
    {"keyed_picture", 1800, false, 50, 50, true, {800, 600}, Seconds(3)},
    // A warning in the key colour: from its first second the old picture shows through the digits.
    {"keyed_warning", 8, false, 50, 50, false, {800, 600}, Seconds(5), kTransparentKey},
    // Notes replace the round page, rotate, and the round page comes back.
    {"notes_between",
     1800,
     false,
     50,
     50,
     false,
     {1920, 1080},
     {{1, Change::None}, {1, Change::Note}, {1, Change::Note}, {10, Change::None}, {1, Change::Round}, {1, Change::None},
      {1, Change::None}}},
    // The information screen between two round pages.
    {"info_screen_between",
     1800,
     false,
     50,
     50,
     false,
     {1920, 1080},
     {{1, Change::None}, {1, Change::Clear}, {1, Change::None}, {1, Change::Round}, {1, Change::None}}},
};

INSTANTIATE_TEST_SUITE_P(Ticks, FrameComposerTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ComposerCase>& info) { return info.param.name; });

}  // namespace
