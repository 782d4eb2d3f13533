// The real program on a portrait screen, headless, as its own snapshot shows it: a big
// clock, running or in overtime, keeps every character on the screen.
#include <vector>

#include "display_fixture.h"

namespace {

struct PortraitCase {
    const char* name;
    const char* message;
    QRgb colour;
    int characters;  // glyphs of the clock's text: each its own run of inked columns
};

class PortraitScreen : public DisplayTest, public ::testing::WithParamInterface<PortraitCase> {};

// The runs of neighbouring columns that hold any pixel of the colour, left to right.
std::vector<std::pair<int, int>> InkRuns(const QImage& image, QRgb colour)
{
    std::vector<bool> inked(static_cast<std::size_t>(image.width()), false);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (colour & 0xFFFFFF)) inked[static_cast<std::size_t>(x)] = true;
        }
    }
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (!inked[static_cast<std::size_t>(x)]) continue;
        if (runs.empty() || runs.back().second != x - 1) runs.emplace_back(x, x);
        runs.back().second = x;
    }
    return runs;
}

TEST_P(PortraitScreen, ClockFortyPercentHighStaysWholeOnTheScreen)
{
    const std::string snapshot = m_scratch.Path() + "/screen.png";
    EnvChanges env = DisplayEnv();
    env["DISPLAY"] = std::nullopt;
    PavluneProcess display({"--port", "0", "--size", "1080x1920", "--snapshot", snapshot}, env, m_scratch.Path());
    const int nPort = display.WaitListening();
    ASSERT_NE(nPort, 0) << display.Process().Stderr();
    ASSERT_EQ(Send(nPort, {"raw", GetParam().message}, m_scratch.Path()).nStatus, 0);

    // Each character of the clock (digits, colon, a minus sign) is a separate run of inked
    // columns, and none is cut at a side: a clock too wide for the screen would lose its
    // first and last characters past the edges.
    std::vector<std::pair<int, int>> runs;
    const bool bShown = WaitFor([&] {
        const QImage image = QImage(QString::fromStdString(snapshot)).convertToFormat(QImage::Format_RGB32);
        if (image.size() != QSize(1080, 1920)) return false;
        runs = InkRuns(image, GetParam().colour);
        return !runs.empty();
    }, kDeadline);
    ASSERT_TRUE(bShown) << "no clock in the snapshot";
    EXPECT_EQ(static_cast<int>(runs.size()), GetParam().characters);
    EXPECT_GT(runs.front().first, 0);
    EXPECT_LT(runs.back().second, 1079);
    EXPECT_GT(runs.back().second - runs.front().first, 1080 / 2) << "drawn far smaller than the screen allows";
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, PortraitScreen,
    ::testing::Values(
        PortraitCase{"Running", R"({"pub_MsgID":303,"11":803,"13":3600,"21":50,"22":50,"72":40,"32":"0,255,0"})",
                     qRgb(0, 255, 0), 5},
        PortraitCase{"Overtime", R"({"pub_MsgID":303,"11":-95,"13":3600,"21":50,"22":50,"72":40,"33":"255,0,255"})",
                     qRgb(255, 0, 255), 6}),
    [](const ::testing::TestParamInfo<PortraitCase>& info) { return std::string(info.param.name); });

}  // namespace
