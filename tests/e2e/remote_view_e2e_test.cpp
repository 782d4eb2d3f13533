// Seeing a room's screen from the scoring desk: pavlune-send screenshot and status against
// the real display.
#include <QImage>

#include "display_fixture.h"
#include "shown_ops.h"
#include "wait_for.h"

namespace {

using RemoteView = DisplayTest;

constexpr QRgb kClockColour = qRgb(255, 200, 0);

QRect ColourBox(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

TEST_F(RemoteView, ScreenshotIsWhatTheWindowShows)
{
    const std::string snapshot = m_scratch.Path() + "/snapshot.png";
    auto display = StartDisplay({"--snapshot", snapshot});
    ASSERT_NE(m_nPort, 0);
    ASSERT_EQ(SendTo({"round", "--title", "Round 4", "--length", "900", "--remaining", "600", "--clock-colour",
                      "255,200,0"}).nStatus, 0);
    ASSERT_TRUE(WaitFor([&] {
        const QImage shown(QString::fromStdString(snapshot));
        return !shown.isNull() && !ColourBox(shown, kClockColour).isEmpty();
    }, kDeadline));

    const std::string shotPath = m_scratch.Path() + "/shot.png";
    const ToolResult shot = SendTo({"screenshot", shotPath});
    ASSERT_EQ(shot.nStatus, 0) << shot.err;
    EXPECT_EQ(shot.out, "640x480\n");
    const QImage remote = QImage(QString::fromStdString(shotPath)).convertToFormat(QImage::Format_RGB32);
    const QImage own = QImage(QString::fromStdString(snapshot)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(remote.size(), QSize(kWindowWidth, kWindowHeight));
    ASSERT_EQ(own.size(), remote.size());
    // The same picture, but for the clock's and the elapsed time's one-second change
    // between the two moments.
    EXPECT_EQ(DifferencesOutside(remote, own, RunningTextBounds(ParseOps(ReadFile(snapshot + ".ops")))), 0);

    // Scaled down, proportions kept.
    const std::string smallPath = m_scratch.Path() + "/small.png";
    const ToolResult small = SendTo({"screenshot", smallPath, "--width", "320"});
    ASSERT_EQ(small.nStatus, 0) << small.err;
    EXPECT_EQ(QImage(QString::fromStdString(smallPath)).size(), QSize(320, 240));
}

TEST_F(RemoteView, StatusNamesTheRoundItsClockAndTheCounts)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_EQ(SendTo({"round", "--title", "Round 6", "--subtitle", "Pairs", "--boards", "1-8", "--length", "900",
                      "--remaining", "300"}).nStatus, 0);
    const ToolResult json = SendTo({"status", "--json"});
    ASSERT_EQ(json.nStatus, 0) << json.err;
    for (const char* part : {"\"shown\":\"round page\"", "\"title\":\"Round 6\"", "\"subtitle\":\"Pairs\"",
                             "\"boards\":\"1~8\"", "\"platform\":\"Linux\"", "\"version\":\"7.26.36\"",
                             "\"messages\":{\"303\":1,\"923\":1}", "\"width\":640", "\"height\":480"}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part << " in " << json.out;
    }
    const std::size_t at = json.out.find("\"remaining\":");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::stoi(json.out.substr(at + 12)), 300, 1);

    ASSERT_EQ(SendTo({"clear"}).nStatus, 0);
    const ToolResult after = SendTo({"status", "--json"});
    EXPECT_NE(after.out.find("\"shown\":\"information screen\""), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("\"messages\":{\"301\":1,\"303\":1,\"923\":2}"), std::string::npos) << after.out;
    const ToolResult lines = SendTo({"status"});
    EXPECT_EQ(lines.nStatus, 0) << lines.err;
    EXPECT_NE(lines.out.find("information screen"), std::string::npos) << lines.out;
}

struct SilentCase {
    const char* name;
    std::vector<std::string> displayArgs;
};

class RemoteViewSilent : public DisplayTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(RemoteViewSilent, DisplayThatDoesNotAnswerIsSaidSoPromptly)
{
    auto display = StartDisplay(GetParam().displayArgs);
    ASSERT_NE(m_nPort, 0);
    const ToolResult status = SendTo({"status"});
    EXPECT_EQ(status.nStatus, 1);
    EXPECT_NE(status.err.find("does not answer status requests"), std::string::npos) << status.err;
    const ToolResult shot = SendTo({"screenshot", m_scratch.Path() + "/none.png"});
    EXPECT_EQ(shot.nStatus, 1);
    EXPECT_NE(shot.err.find("does not answer screen picture requests"), std::string::npos) << shot.err;
    // The scoring program's own request is still answered.
    if (GetParam().displayArgs.front() == "--remote-view=off") {
        EXPECT_EQ(SendTo({"size"}).out, "640x480\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Refusing, RemoteViewSilent,
    ::testing::Values(SilentCase{"remote_view_off", {"--remote-view=off"}},
                      SilentCase{"outside_allow", {"--allow", "192.0.2.0/24"}}),
    [](const auto& info) { return std::string(info.param.name); });
