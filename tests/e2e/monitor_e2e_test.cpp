// The right monitor: --screen on an X server with two monitors side by side, a
// 1024 x 768 one on the left (the primary) and an 800 x 600 one on its right.
#include "display_fixture.h"

namespace {

const QRect kLeft(0, 0, 1024, 768);
const QRect kRight(1024, 0, 800, 600);

class TwoMonitors : public DisplayTest {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_scratch.Path().empty());
        m_pX = std::make_unique<XServer>(kLeft.width() + kRight.width(), kLeft.height(), m_scratch.Path());
        ASSERT_TRUE(m_pX->Started()) << "Xvfb did not start";
        // Xvfb has one output, "screen"; RandR monitors cut its root window in two, and Qt
        // makes one screen of each monitor.
        ASSERT_EQ(XRandR({"--setmonitor", "left", MonitorGeometry(kLeft), "screen"}), 0);
        ASSERT_EQ(XRandR({"--setmonitor", "right", MonitorGeometry(kRight), "none"}), 0);
    }

    int XRandR(std::vector<std::string> args) const
    {
        args.insert(args.begin(), "xrandr");
        return RunTool(args, m_pX->Env(), m_scratch.Path()).nStatus;
    }

    // width/mm x height/mm + x + y, at about 96 dots per inch.
    static std::string MonitorGeometry(const QRect& r)
    {
        return std::to_string(r.width()) + "/" + std::to_string(r.width() * 254 / 960) + "x"
             + std::to_string(r.height()) + "/" + std::to_string(r.height() * 254 / 960) + "+"
             + std::to_string(r.x()) + "+" + std::to_string(r.y());
    }
};

// The information screen fills the area to its edges, and the other monitor is bare.
bool ShowsExactly(const QImage& shot, const QRect& area, const QRect& other)
{
    const QRect in = area.adjusted(2, 2, -2, -2);
    return AllPixelsAre(shot, {in.topLeft(), in.topRight(), in.bottomLeft(), in.bottomRight()}, kInfoBackground)
        && AllPixelsAre(shot, {other.center()}, qRgb(0, 0, 0));
}

struct MonitorCase {
    std::vector<std::string> args;
    bool bPressF11;
    QRect expected;
    QRect other;
};

class MonitorChoice : public TwoMonitors, public ::testing::WithParamInterface<MonitorCase> {};

TEST_P(MonitorChoice, PutsTheWindowAndTheFullScreenThere)
{
    std::vector<std::string> args{"--port", "0"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    PavluneProcess display(args, DisplayEnv(), m_scratch.Path());
    m_nPort = display.WaitListening();
    ASSERT_NE(m_nPort, 0) << display.Process().Stderr();
    if (GetParam().bPressF11) {
        ASSERT_TRUE(WaitForScreen([](const QImage& shot) { return CountColour(shot, kRight, kInfoBackground) > 0; }));
        const QPoint inside = kRight.topLeft() + QPoint(50, 50);
        ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", std::to_string(inside.x()), std::to_string(inside.y()),
                                 "key", "F11"}), 0);
    }
    EXPECT_TRUE(WaitForScreen([](const QImage& shot) {
        return ShowsExactly(shot, GetParam().expected, GetParam().other);
    })) << "not where it belongs";
    ToolResult reply;
    EXPECT_TRUE(WaitFor([&] {
        reply = SendTo({"size"});
        return reply.out.find(std::to_string(GetParam().expected.width()) + "x"
                              + std::to_string(GetParam().expected.height())) != std::string::npos;
    }, kDeadline)) << "size reply: " << reply.out;
}

INSTANTIATE_TEST_SUITE_P(
    ByNumberAndName, MonitorChoice,
    ::testing::Values(MonitorCase{{"--fullscreen"}, false, kLeft, kRight},
                      MonitorCase{{"--screen", "0", "--fullscreen"}, false, kLeft, kRight},
                      MonitorCase{{"--screen", "1", "--fullscreen"}, false, kRight, kLeft},
                      MonitorCase{{"--screen=right", "--fullscreen"}, false, kRight, kLeft},
                      MonitorCase{{"--screen", "1", "--size", "400x300"}, false, QRect(1024, 0, 400, 300), kLeft},
                      MonitorCase{{"--screen", "1", "--size", "400x300"}, true, kRight, kLeft}));

TEST_F(TwoMonitors, AnUnknownMonitorIsAUsageErrorListingThem)
{
    for (const char* choice : {"9", "-1", "middle"}) {
        PavluneProcess display({"--port", "0", "--screen", choice}, DisplayEnv(), m_scratch.Path());
        EXPECT_EQ(display.Process().WaitExit(kDeadline), 2) << choice;
        const std::string err = display.Process().Stderr();
        EXPECT_NE(err.find(std::string("no monitor \"") + choice + "\""), std::string::npos) << err;
        EXPECT_NE(err.find("0 \"left\" 1024x768+0+0, 1 \"right\" 800x600+1024+0"), std::string::npos) << err;
        EXPECT_EQ(display.Process().Stdout(), "");
    }
}

}  // namespace
