#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "display/compose_frame.h"
#include "display/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "platform/clock.h"
#include "whole_composition.h"
#include "render_support.h"

namespace {

constexpr COLORREF kShown = RGB(9, 9, 9);

class ComposeFrameTest : public RenderTest {
protected:
    void TearDown() override
    {
        Clock::UseSystemTime();
        RenderTest::TearDown();
    }

    void AddNote(const std::vector<std::uint8_t>& bytes)
    {
        CommMsg_base msg;
        msg.ResetMsg(MSGID_NOTE_PAGE);
        if (!bytes.empty()) Attach(msg, bytes);
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.OnNotePageMessage(msg);
    }

    QImage Compose(QSize client, const std::string& name)
    {
        EXPECT_TRUE(ComposeFrame(m_kept, client, m_pages, ScreenState{false, {client.width(), client.height()}, {}}));
        Keep(m_kept, name);
        return m_kept;
    }

    ScreenPageList m_pages;
    QImage m_kept = NewCanvas(1920, 1080, kShown);
};

TEST_F(ComposeFrameTest, ColourKeyLeavesWhatTheScreenShowed)
{
    AddNote(EncodePicture(StripedPicture(3, 1, {RGB(255, 1, 254), RGB(255, 0, 254), RGB(255, 1, 255)}), "PNG"));
    const QImage shown = Compose(QSize(1920, 1080), "key");
    EXPECT_EQ(InkBox(shown, kShown), QRect(0, 0, 640, 1080));
    EXPECT_EQ(PixelAt(shown, 700, 500), RGB(255, 0, 254));
    EXPECT_EQ(PixelAt(shown, 1900, 500), RGB(255, 1, 255));
}

TEST_F(ComposeFrameTest, NotePictureIsStretchedOverTheWholeAreaUnsmoothed)
{
    const std::vector<COLORREF> colours{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0),
                                        RGB(0, 200, 200)};
    AddNote(EncodePicture(StripedPicture(5, 7, colours), "PNG"));
    const QImage shown = Compose(QSize(1920, 1080), "note");
    for (int stripe = 0; stripe < 5; ++stripe) {
        const int left = 1920 * stripe / 5;
        EXPECT_EQ(InkBox(shown, colours[static_cast<std::size_t>(stripe)]), QRect(left, 0, 1920 / 5, 1080)) << stripe;
    }
}

TEST_F(ComposeFrameTest, PictureAlphaBlendsOverTheBackground)
{
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(255, 255, 255, 255));
    AddNote(EncodePicture(picture, "PNG"));
    const QImage shown = Compose(QSize(800, 600), "alpha");
    EXPECT_EQ(InkBox(shown, kScreenBackground), QRect(0, 0, 400, 600));
    EXPECT_EQ(InkBox(shown, RGB(255, 255, 255)), QRect(400, 0, 400, 600));
}

TEST_F(ComposeFrameTest, UndecodableOrMissingPictureShowsTheBackground)
{
    for (const std::vector<std::uint8_t>& bytes : {std::vector<std::uint8_t>{'n', 'o', 'p', 'e'},
                                                   std::vector<std::uint8_t>{}}) {
        {
            const std::lock_guard<std::mutex> lock(m_pages.Mutex());
            m_pages.ClearPages();
        }
        AddNote(bytes);
        const QImage shown = Compose(QSize(1920, 1080), "empty-picture");
        EXPECT_EQ(CountColour(shown, kScreenBackground), 1920 * 1080) << bytes.size();
    }
}

TEST_F(ComposeFrameTest, KeptImageFollowsTheClientSize)
{
    AddNote(EncodePicture(StripedPicture(1, 1, {RGB(255, 1, 254)}), "PNG"));
    m_kept = NewCanvas(100, 100, kShown);
    const QImage grown = Compose(QSize(200, 150), "grown");
    ASSERT_EQ(grown.size(), QSize(200, 150));
    EXPECT_EQ(InkBox(grown, kShown), QRect(0, 0, 100, 100));
    EXPECT_EQ(CountColour(grown, RGB(0, 0, 0)), 200 * 150 - 100 * 100);

    m_kept = QImage();
    EXPECT_EQ(Compose(QSize(64, 48), "fresh").size(), QSize(64, 48));
}

TEST_F(ComposeFrameTest, EmptyClientAreaChangesNothing)
{
    const QImage before = m_kept;
    EXPECT_FALSE(ComposeFrame(m_kept, QSize(0, 1080), m_pages, ScreenState{}));
    EXPECT_FALSE(ComposeFrame(m_kept, QSize(1920, 0), m_pages, ScreenState{}));
    EXPECT_EQ(m_kept, before);
}

TEST_F(ComposeFrameTest, NotesAlternateEveryTenSecondsOfRepaints)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    AddNote(EncodePicture(StripedPicture(1, 1, {RGB(200, 0, 0)}), "PNG"));
    EXPECT_EQ(PixelAt(Compose(QSize(64, 48), "first"), 10, 10), RGB(200, 0, 0));
    AddNote(EncodePicture(StripedPicture(1, 1, {RGB(0, 200, 0)}), "PNG"));
    Clock::Advance(9);
    EXPECT_EQ(PixelAt(Compose(QSize(64, 48), "still-first"), 10, 10), RGB(200, 0, 0));
    Clock::Advance(1);
    EXPECT_EQ(PixelAt(Compose(QSize(64, 48), "second"), 10, 10), RGB(0, 200, 0));
    Clock::Advance(10);
    EXPECT_EQ(PixelAt(Compose(QSize(64, 48), "first-again"), 10, 10), RGB(200, 0, 0));
}

// A message handled while a repaint wants the page list makes the repaint wait, and the
// repaint then shows what the message left.
TEST_F(ComposeFrameTest, RepaintWaitsForTheMessageHoldingThePageList)
{
    AddNote(EncodePicture(StripedPicture(1, 1, {RGB(200, 0, 0)}), "PNG"));
    std::atomic<bool> done{false};
    std::unique_lock<std::mutex> handling(m_pages.Mutex());
    std::thread repaint([&] {
        ComposeFrame(m_kept, QSize(320, 240), m_pages, ScreenState{});
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
    EXPECT_EQ(PixelAt(m_kept, 10, 10), RGB(22, 96, 128));
}

TEST(TransparentCopy, RefusesImagesOfAnotherSizeOrFormat)
{
    QImage dst = NewCanvas(10, 10, kShown);
    const QImage before = dst;
    EXPECT_FALSE(TransparentCopy(dst, NewCanvas(10, 11, RGB(1, 1, 1)), kTransparentKey));
    EXPECT_FALSE(TransparentCopy(dst, NewCanvas(10, 10, RGB(1, 1, 1)).convertToFormat(QImage::Format_RGB888),
                                 kTransparentKey));
    EXPECT_EQ(dst, before);
}

// The scan goes eight pixels a step with a tail after them; a key pixel is found in
// every lane, in the tail, and only within the area asked about.
struct HoldsColourCase {
    const char* name;
    int nKeyX;  // -1: no key pixel
    QRect area;
    bool bHolds;
};

TEST(HoldsColour, FindsTheKeyInEveryLaneAndTheTailWithinTheArea)
{
    const HoldsColourCase cases[] = {
        {"none", -1, QRect(0, 0, 21, 3), false},
        {"first", 0, QRect(0, 0, 21, 3), true},
        {"last_lane", 7, QRect(0, 0, 21, 3), true},
        {"second_step", 8, QRect(0, 0, 21, 3), true},
        {"tail", 20, QRect(0, 0, 21, 3), true},
        {"left_of_area", 4, QRect(5, 0, 16, 3), false},
        {"right_of_area", 20, QRect(0, 0, 20, 3), false},
        {"area_starts_on_it", 5, QRect(5, 0, 3, 3), true},
        {"area_past_image", 20, QRect(10, 0, 100, 100), true},
    };
    for (const HoldsColourCase& c : cases) {
        QImage image = NewCanvas(21, 3, RGB(254, 1, 254));
        if (c.nKeyX >= 0) image.setPixel(c.nKeyX, 1, qRgb(255, 1, 254));
        EXPECT_EQ(HoldsColour(image, kTransparentKey, c.area), c.bHolds) << c.name;
    }
    // The top byte of a pixel is not part of its colour.
    QImage translucent(9, 1, QImage::Format_ARGB32);
    translucent.fill(0);
    translucent.setPixel(8, 0, qRgba(255, 1, 254, 0));
    EXPECT_TRUE(HoldsColour(translucent, kTransparentKey, translucent.rect()));
}

}  // namespace
