// The Windows display seen from the scoring desk: the Linux pavlune-send's screenshot and
// status against it.
#include <QImage>

#include "wait_for.h"
#include "wine_fixture.h"

TEST_F(WineE2eTest, ScreenshotAndStatusOfTheWindowsDisplay)
{
    const auto display = Start({"--size", "800x600"});
    ASSERT_EQ(SendTo({"round", "--title", "Round 2", "--length", "600", "--remaining", "200"}).nStatus, 0);
    const std::optional<ShownOp> clock = display->WaitForText("03:", kDeadline);
    ASSERT_TRUE(clock.has_value());

    const std::string shotPath = scratch.Path() + "/remote.png";
    const ToolResult shot = SendTo({"screenshot", shotPath});
    ASSERT_EQ(shot.nStatus, 0) << shot.err;
    EXPECT_EQ(shot.out, "800x600\n");
    const QImage remote = QImage(QString::fromStdString(shotPath)).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(WaitFor([&] { return !display->Snapshot().isNull(); }, kDeadline));
    const QImage own = display->Snapshot();
    ASSERT_EQ(remote.size(), own.size());
    // The same pixels as the display's own snapshot, but where the clock and the elapsed
    // time may have moved on a second between the two.
    EXPECT_EQ(DifferencesOutside(remote, own, RunningTextBounds(display->Ops())), 0);

    const ToolResult status = SendTo({"status", "--json"});
    ASSERT_EQ(status.nStatus, 0) << status.err;
    for (const char* part : {"\"platform\":\"Windows\"", "\"shown\":\"round page\"", "\"title\":\"Round 2\"",
                             "\"width\":800", "\"height\":600"}) {
        EXPECT_NE(status.out.find(part), std::string::npos) << part << " in " << status.out;
    }
}

TEST_F(WineE2eTest, RemoteViewOffIsSilent)
{
    const auto display = Start({"--size", "640x400", "--remote-view=off"});
    const ToolResult status = SendTo({"status"});
    EXPECT_EQ(status.nStatus, 1);
    EXPECT_NE(status.err.find("does not answer status requests"), std::string::npos) << status.err;
    EXPECT_EQ(SendTo({"size"}).out, "640x400\n");
}
