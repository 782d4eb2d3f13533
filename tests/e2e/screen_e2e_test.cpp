// The display as the room sees it: what the scoring program's messages put on the screen.
#include "display_fixture.h"

namespace {

using Screen = DisplayTest;

const QRect kWindow(0, 0, DisplayTest::kWindowWidth, DisplayTest::kWindowHeight);

std::vector<QPoint> WindowCorners()
{
    return {{2, 2}, {kWindow.right() - 2, 2}, {2, kWindow.bottom() - 2}, {kWindow.right() - 2, kWindow.bottom() - 2}};
}

bool ShowsInformationScreen(const QImage& shot)
{
    // Its own background everywhere at the edges, its yellow title in bands 1 and 2.
    const int h = DisplayTest::kWindowHeight / 8;
    return AllPixelsAre(shot, WindowCorners(), kInfoBackground)
        && CountColour(shot, QRect(0, h, kWindow.width(), 2 * h), kInfoTitle) > 200;
}

TEST_F(Screen, MessagesChangeWhatTheWindowShows)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsInformationScreen)) << "no information screen";

    // A round page of ten minutes with a green clock: the clock runs in its colour.
    const QRgb clockGreen = qRgb(0, 255, 0);
    ASSERT_EQ(SendTo({"round", "--title", "Round 3", "--remaining", "600", "--length", "1200", "--clock-x", "50",
                      "--clock-y", "50", "--clock-height", "40", "--title-colour", "248,248,232", "--clock-colour",
                      "0,255,0", "--overtime-colour", "255,64,64"}).nStatus, 0);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return CountColour(shot, kWindow, clockGreen) > 500 && CountColour(shot, kWindow, kInfoTitle) == 0;
    })) << "no green clock on the round page";

    // A note picture replaces the round page and fills the whole client area.
    const QRgb noteColour = qRgb(200, 30, 90);
    ASSERT_EQ(SendTo({"note", WritePicture("note.png", noteColour)}).nStatus, 0);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return AllPixelsAre(shot, WindowCorners(), noteColour) && CountColour(shot, kWindow, clockGreen) == 0;
    })) << "the note picture is not shown over the whole window";

    ASSERT_EQ(SendTo({"clear"}).nStatus, 0);
    EXPECT_TRUE(WaitForScreen(ShowsInformationScreen)) << "clear did not bring the information screen back";
    EXPECT_TRUE(display->Process().Running());
}

TEST_F(Screen, SizeRequestIsAnsweredWithTheClientSize)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsInformationScreen));
    const ToolResult reply = SendTo({"size"});
    EXPECT_EQ(reply.nStatus, 0) << reply.err;
    EXPECT_NE(reply.out.find("640"), std::string::npos) << reply.out;
    EXPECT_NE(reply.out.find("480"), std::string::npos) << reply.out;
}

}  // namespace
