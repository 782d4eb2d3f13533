// The window's refresh, tick by tick, on the platform's own drawing layer: Qt's raster
// painter in the Linux build, real GDI in the Windows one. The cases are the same for
// both, so a layer that paints a part differently from the other shows up here.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "display/pages/colour_key.h"
#include "display/drawing/draw_screen.h"
#include "display/pages/screen_pages.h"
#include "display/drawing/screen_refresh.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "os/clock.h"
#include "refreshed_screen.h"
#include "screen_pixels.h"

namespace {

constexpr COLORREF kShown = RGB(9, 9, 9);

// Pixels of two images of one size whose channels differ by more than the shading of a
// glyph's edge can.
int DifferingPixels(const Image32& a, const Image32& b)
{
    constexpr int kLevels = 48;
    const auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    int count = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            const std::uint32_t p = a.Pixel(x, y);
            const std::uint32_t q = b.Pixel(x, y);
            count += std::abs(channel(p, 16) - channel(q, 16)) > kLevels ||
                             std::abs(channel(p, 8) - channel(q, 8)) > kLevels ||
                             std::abs(channel(p, 0) - channel(q, 0)) > kLevels
                         ? 1
                         : 0;
        }
    }
    return count;
}

// What happens to the list before a tick.
enum class Change { None, Note, Round, Clear };

struct Tick {
    int nAdvance = 1;
    Change change = Change::None;
};

struct RefreshCase {
    const char* name;
    int nRemaining;
    bool bBarAtTop = false;
    int nClockX = 50;
    int nClockY = 50;
    bool bKeyedPicture = false;
    SIZE client{1920, 1080};
    std::vector<Tick> ticks;
    COLORREF clrWarn = kDefaultWarnColour;
};

void PrintTo(const RefreshCase& c, std::ostream* os) { *os << c.name; }

std::vector<Tick> Seconds(int n)
{
    return std::vector<Tick>(static_cast<std::size_t>(n), Tick{});
}

class ScreenRefreshTest : public PixelTest, public ::testing::WithParamInterface<RefreshCase> {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override
    {
        Clock::UseSystemTime();
        PixelTest::TearDown();
    }

    void Apply(Change change)
    {
        const RefreshCase& c = GetParam();
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        if (change == Change::Round) {
            ReceivedRound f;
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
            const std::vector<std::uint8_t> picture = c.bKeyedPicture
                                                          ? StripedPng(4, 1, {kTransparentKey, RGB(30, 60, 90)})
                                                          : StripedPng(5, 3, {RGB(30, 60, 90), RGB(90, 60, 30)});
            f.pictureData = picture.data();
            f.pictureLength = static_cast<int>(picture.size());
            m_pages.AddRoundPage(f);
        } else if (change == Change::Note) {
            CommMsg_base msg;
            msg.ResetMsg(MSGID_NOTE_PAGE);
            Attach(msg, StripedPng(3, 2, {RGB(200, 0, 0), RGB(0, 200, 0)}));
            m_pages.OnNotePageMessage(msg);
        } else if (change == Change::Clear) {
            m_pages.ClearPages();
        }
    }

    ScreenPageList m_pages;
};

// Tick by tick, the screen painted only where a tick said it changes ends up as one
// repainted whole at the same moment, and outside those parts it keeps the picture
// before. The repaints vary as a platform's do: the parts at once or split in two, and
// now and then the whole screen asked for (a window uncovered). The reference is a whole
// repaint. Pixels agree within the shading of a glyph's edge, which Qt's raster engine
// may put down differently from one painting to the next (seen up to 24 levels on small
// titles); a part left stale shows whole glyphs or fills, far past that.
TEST_P(ScreenRefreshTest, EachTickShowsWhatAWholeCompositionShows)
{
    const RefreshCase& c = GetParam();
    const RECT wholeArea{0, 0, c.client.cx, c.client.cy};
    const ScreenState state{false, {c.client.cx, c.client.cy}, {}, TimeSignals{{WarnStage{5, c.clrWarn}}, true, ""}};
    RefreshedScreen screen(c.client, kShown);
    RefreshedScreen whole(c.client, kShown);
    Apply(Change::Round);
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
        Clock::Advance(c.ticks[i].nAdvance);
        Apply(c.ticks[i].change);
        const Image32 before = screen.Image();
        const std::vector<RECT> parts = screen.Tick(m_pages, state);
        if (i % 3 == 1) {
            const RECT top{0, 0, c.client.cx, c.client.cy / 2};
            const RECT bottom{0, c.client.cy / 2, c.client.cx, c.client.cy};
            std::vector<RECT> upper;
            std::vector<RECT> lower;
            for (const RECT& part : parts) {
                if (const RECT rc = RectIntersection(part, top); !IsRectEmpty(rc)) upper.push_back(rc);
                if (const RECT rc = RectIntersection(part, bottom); !IsRectEmpty(rc)) lower.push_back(rc);
            }
            screen.Paint(upper, m_pages, state);
            screen.Paint(lower, m_pages, state);
        } else {
            screen.Paint(parts, m_pages, state);
        }
        whole.Tick(m_pages, state);
        whole.PaintWhole(m_pages, state);
        if (DifferingPixels(screen.Image(), whole.Image()) != 0) {
            Keep(whole.Image(), std::string(c.name) + "-whole");
            Keep(screen.Image(), std::string(c.name) + "-partial");
            FAIL() << c.name << ": tick " << i << " differs from the whole composition";
        }
        Image32 shown = before;
        for (const RECT& part : parts) {
            const RECT area = RectIntersection(part, wholeArea);
            for (int y = area.top; y < area.bottom; ++y) {
                for (int x = area.left; x < area.right; ++x) shown.Line(y)[x] = screen.Image().Pixel(x, y);
            }
        }
        ASSERT_TRUE(shown == screen.Image()) << c.name << ": tick " << i << " changed pixels outside its parts";
        if (i % 4 == 3) {
            screen.PaintWhole(m_pages, state);
            ASSERT_EQ(DifferingPixels(screen.Image(), whole.Image()), 0) << c.name << ": the whole screen at tick " << i;
        }
    }
}

const RefreshCase kCases[] = {
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

INSTANTIATE_TEST_SUITE_P(Ticks, ScreenRefreshTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RefreshCase>& info) { return info.param.name; });

// A running round page repaints only what its second changes: the clock and the bar's
// texts, never the titles or most of the picture.
TEST(ScreenRefresh, ARunningSecondInvalidatesTheClockAndTheBarOnly)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    {
        ReceivedRound f;
        f.title = "Round 4 of 7";
        f.remainingSeconds = 1800;
        f.roundSeconds = 3600;
        f.boards = "1~8";
        f.barCaption = "Time";
        f.clockX = 50;
        f.clockY = 50;
        f.clockHeight = 40;
        f.clrClock = RGB(248, 248, 248);
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        pages.AddRoundPage(f);
    }
    const ScreenState state{false, {1920, 1080}, {}, {}};
    ScreenRefresh refresh;
    const std::vector<RECT> first = refresh.Tick(SIZE{1920, 1080}, pages, state, Clock::Now());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first.front(), (RECT{0, 0, 1920, 1080}));
    EXPECT_TRUE(refresh.Tick(SIZE{1920, 1080}, pages, state, Clock::Now()).empty()) << "the same second again";

    Clock::Advance(1);
    const std::vector<RECT> parts = refresh.Tick(SIZE{1920, 1080}, pages, state, Clock::Now());
    ASSERT_FALSE(parts.empty());
    long long area = 0;
    for (const RECT& part : parts) {
        area += static_cast<long long>(RectWidth(part)) * RectHeight(part);
        EXPECT_GE(part.top, 1080 / 6) << "reaches the title: " << ::testing::PrintToString(part);
    }
    EXPECT_LT(area, 1920LL * 1080 / 2);
    Clock::UseSystemTime();
}

// The cases a repaint must get right on its own, through the window's own paint path.
class ScreenPaintTest : public PixelTest {
protected:
    void TearDown() override
    {
        Clock::UseSystemTime();
        PixelTest::TearDown();
    }

    void AddNote(const std::vector<std::uint8_t>& bytes)
    {
        CommMsg_base msg;
        msg.ResetMsg(MSGID_NOTE_PAGE);
        if (!bytes.empty()) Attach(msg, bytes);
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.OnNotePageMessage(msg);
    }

    const Image32& Show(const std::string& name)
    {
        const ScreenState state{false, {m_screen.Image().Width(), m_screen.Image().Height()}, {}};
        m_screen.Paint(m_screen.Tick(m_pages, state), m_pages, state);
        Keep(m_screen.Image(), name);
        return m_screen.Image();
    }

    ScreenPageList m_pages;
    RefreshedScreen m_screen{SIZE{1920, 1080}, kShown};
};

TEST_F(ScreenPaintTest, ColourKeyLeavesWhatTheScreenShowed)
{
    AddNote(StripedPng(3, 1, {kTransparentKey, RGB(255, 0, 254), RGB(255, 1, 255)}));
    const Image32& shown = Show("key");
    EXPECT_EQ(InkBox(shown, kShown), (RECT{0, 0, 640, 1080}));
    EXPECT_EQ(ColourAt(shown, 700, 500), RGB(255, 0, 254));
    EXPECT_EQ(ColourAt(shown, 1900, 500), RGB(255, 1, 255));
}

TEST_F(ScreenPaintTest, NotePictureIsStretchedOverTheWholeAreaUnsmoothed)
{
    const std::vector<COLORREF> colours{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0),
                                        RGB(0, 200, 200)};
    AddNote(StripedPng(5, 7, colours));
    const Image32& shown = Show("note");
    for (int stripe = 0; stripe < 5; ++stripe) {
        const int left = 1920 * stripe / 5;
        EXPECT_EQ(InkBox(shown, colours[static_cast<std::size_t>(stripe)]), (RECT{left, 0, left + 1920 / 5, 1080}))
            << stripe;
    }
}

TEST_F(ScreenPaintTest, PictureAlphaBlendsOverTheBackground)
{
    Image32 picture(2, 1, true);
    picture.Line(0)[0] = 0x00000000u;
    picture.Line(0)[1] = 0xFFFFFFFFu;
    AddNote(PngOf(picture));
    const Image32& shown = Show("alpha");
    EXPECT_EQ(InkBox(shown, kScreenBackground), (RECT{0, 0, 960, 1080}));
    EXPECT_EQ(InkBox(shown, RGB(255, 255, 255)), (RECT{960, 0, 1920, 1080}));
}

TEST_F(ScreenPaintTest, UndecodableOrMissingPictureShowsTheBackground)
{
    for (const std::vector<std::uint8_t>& bytes : {std::vector<std::uint8_t>{'n', 'o', 'p', 'e'},
                                                   std::vector<std::uint8_t>{}}) {
        {
            const std::lock_guard<std::mutex> lock(m_pages.Mutex());
            m_pages.ClearPages();
        }
        AddNote(bytes);
        const Image32& shown = Show("empty-picture");
        EXPECT_EQ(CountColour(shown, kScreenBackground), 1920 * 1080) << bytes.size();
    }
}

TEST_F(ScreenPaintTest, EmptyClientAreaChangesNothing)
{
    ScreenRefresh refresh;
    for (const SIZE client : {SIZE{0, 1080}, SIZE{1920, 0}}) {
        EXPECT_TRUE(refresh.Tick(client, m_pages, ScreenState{}, Clock::Now()).empty());
        EXPECT_EQ(refresh.Shown(), nullptr);
    }
}

TEST_F(ScreenPaintTest, NotesAlternateEveryTenSecondsOfTicks)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    AddNote(StripedPng(1, 1, {RGB(200, 0, 0)}));
    EXPECT_EQ(ColourAt(Show("first"), 10, 10), RGB(200, 0, 0));
    AddNote(StripedPng(1, 1, {RGB(0, 200, 0)}));
    Clock::Advance(9);
    EXPECT_EQ(ColourAt(Show("still-first"), 10, 10), RGB(200, 0, 0));
    Clock::Advance(1);
    EXPECT_EQ(ColourAt(Show("second"), 10, 10), RGB(0, 200, 0));
    Clock::Advance(10);
    EXPECT_EQ(ColourAt(Show("first-again"), 10, 10), RGB(200, 0, 0));
}

// A message handled while a tick wants the page list makes the tick wait, and the
// repaint then shows what the message left.
TEST_F(ScreenPaintTest, TickWaitsForTheMessageHoldingThePageList)
{
    AddNote(StripedPng(1, 1, {RGB(200, 0, 0)}));
    std::atomic<bool> done{false};
    std::unique_lock<std::mutex> handling(m_pages.Mutex());
    std::thread repaint([&] {
        Show("after-message");
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
    while (std::chrono::steady_clock::now() < deadline) {
        EXPECT_FALSE(done);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_pages.ClearPages();
    handling.unlock();
    repaint.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(ColourAt(m_screen.Image(), 10, 10), RGB(22, 96, 128));
}

}  // namespace
