// Messages through the real server into the real window, where its pixels count: the
// colour key on the screen, and repaints while a large picture decodes.
#include <cstring>

#include "frame_fixture.h"
#include "picture_samples.h"
#include "os/clock.h"

namespace {

using MessageHandling = FrameTest;

struct KeyCase {
    QRgb noteColour;
    QRgb onScreen;  // the information screen's background where the key leaves it
};

class ColourKey : public FrameTest, public ::testing::WithParamInterface<KeyCase> {
protected:
    // Repaints until the centre of the window's screen image shows the colour.
    bool ScreenShows(QRgb colour)
    {
        for (int i = 0; i < 100; ++i) {
            ProcessEventsFor(20);
            const QImage& screen = m_pFrame->ScreenImage();
            if (screen.size() == QSize(1920, 1080) && screen.pixel(960, 540) == colour) {
                return true;
            }
        }
        return false;
    }
};

TEST_P(ColourKey, PageChangesReachTheScreenThroughTheWindowThread)
{
    // The empty list's information screen first; then a note whose picture is one colour.
    // The repaint is requested from the processing thread and made on the window thread.
    ASSERT_TRUE(ScreenShows(qRgb(22, 96, 128)));
    Deliver(*NotePageMsg(false, GetParam().noteColour));
    ASSERT_EQ(PageKinds(), "N");
    ProcessEventsFor(300);
    EXPECT_TRUE(ScreenShows(GetParam().onScreen));
}

INSTANTIATE_TEST_SUITE_P(Pictures, ColourKey,
                         ::testing::Values(KeyCase{qRgb(10, 200, 30), qRgb(10, 200, 30)},
                                           KeyCase{qRgb(255, 1, 254), qRgb(22, 96, 128)},
                                           KeyCase{qRgb(255, 0, 254), qRgb(255, 0, 254)},
                                           KeyCase{qRgb(255, 1, 255), qRgb(255, 1, 255)}));

// The picture of a note is decoded before the page list is touched: while it is, the
// window goes on repainting (the round page's clock moves on) and the list still holds
// the round page. Were the list locked through the decode, no repaint could finish
// until the note was in.
TEST_F(MessageHandling, TheWindowRepaintsWhileANotePictureIsDecoded)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    Deliver(*RoundPageMsg());
    ProcessEventsFor(300);
    const std::vector<std::uint8_t> png = TwoToneMonoPng(QSize(8192, 8192), qRgb(1, 2, 3), qRgb(4, 5, 6));
    auto note = MakeMsg(MSGID_NOTE_PAGE);
    note->SetAttachment(png.data(), static_cast<int>(png.size()));
    Peer peer(m_nPort);
    ASSERT_TRUE(peer.Send(*note));
    int nRepaintsDuringHandling = 0;
    while (!peer.WaitClosed(std::chrono::milliseconds(10))) {
        const QImage before = m_pFrame->ScreenImage();
        Clock::Advance(1);
        ProcessEventsFor(150);
        if (PageKinds() == "R" && m_pFrame->ScreenImage() != before) {
            ++nRepaintsDuringHandling;
        }
    }
    Clock::UseSystemTime();
    // A decode under the page-list lock would hold every repaint until the note is in,
    // leaving none of the round page; how many fit in depends on the machine's speed.
    EXPECT_GE(nRepaintsDuringHandling, 1);
    EXPECT_EQ(PageKinds(), "N");
    std::lock_guard lock(m_pFrame->Pages().Mutex());
    EXPECT_EQ(m_pFrame->Pages().Page(0).m_picture.GetWidth(), 1920) << "kept at the client size";
}

}  // namespace
