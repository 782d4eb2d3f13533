// The Windows display under Wine, driven by the Linux pavlune-send: what the window shows.
#include <QImage>

#include <thread>

#include "wait_for.h"
#include "wine_fixture.h"

namespace {

constexpr QRgb kClockColour = qRgb(255, 200, 0);
constexpr QRgb kTitleColour = qRgb(0, 255, 128);

std::string SizeText(int w, int h) { return std::to_string(w) + "x" + std::to_string(h) + "\n"; }

const ShownOp* FindText(const std::vector<ShownOp>& ops, const std::string& needle)
{
    for (const ShownOp& op : ops) {
        if (op.kind == "Text" && op.text.find(needle) != std::string::npos) return &op;
    }
    return nullptr;
}

}  // namespace

struct SizeCase {
    const char* name;
    std::vector<std::string> args;
    int nWidth;
    int nHeight;
};

class WineSizeTest : public WineE2eTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(WineSizeTest, SizeRequestAnswersTheClientArea)
{
    const auto display = Start(GetParam().args);
    const ToolResult size = SendTo({"size"});
    EXPECT_EQ(size.nStatus, 0) << size.err;
    EXPECT_EQ(size.out, SizeText(GetParam().nWidth, GetParam().nHeight));
    // The snapshot is the client area, so its size is what the reply says.
    ASSERT_TRUE(WaitFor([&] { return !display->Snapshot().isNull(); }, kDeadline));
    EXPECT_EQ(display->Snapshot().size(), QSize(GetParam().nWidth, GetParam().nHeight));
}

INSTANTIATE_TEST_SUITE_P(Forms, WineSizeTest,
    ::testing::Values(SizeCase{"size_option", {"--size", "800x600"}, 800, 600},
                      SizeCase{"full_screen", {"--fullscreen"}, kWineScreenWidth, kWineScreenHeight}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WineE2eTest, MaximisedWindowReportsItsClientAreaBelowTheCaption)
{
    const auto display = Start({});
    const ToolResult size = SendTo({"size"});
    ASSERT_TRUE(WaitFor([&] { return !display->Snapshot().isNull(); }, kDeadline));
    const QImage shown = display->Snapshot();
    EXPECT_EQ(size.out, SizeText(shown.width(), shown.height()));
    EXPECT_EQ(shown.width(), kWineScreenWidth);
    EXPECT_LT(shown.height(), kWineScreenHeight);
}

TEST_F(WineE2eTest, RoundPageShowsClockTitlesAndTimeBarWhereTheLayoutPutsThem)
{
    const auto display = Start({"--size", "1024x640"});
    const ToolResult sent = SendTo({"round", "--title", "Round 5", "--subtitle", "Swiss teams", "--length", "600",
                                    "--remaining", "300", "--boards", "1-8", "--caption", "Board",
                                    "--clock-colour", "255,200,0", "--title-colour", "0,255,128"});
    ASSERT_EQ(sent.nStatus, 0) << sent.err;
    const std::optional<ShownOp> clock = display->WaitForText("04:5", kDeadline);
    ASSERT_TRUE(clock.has_value()) << ReadFile(display->SnapshotPath() + ".ops");
    const std::vector<ShownOp> ops = display->Ops();
    const QImage shown = display->Snapshot();
    // The clock, centred by default, in its colour and only within its text's pixels.
    EXPECT_EQ(clock->colour, "#FFC800");
    EXPECT_NEAR(clock->area.center().x(), 512, 2);
    const QRect clockPixels = ColourBox(shown, kClockColour);
    ASSERT_FALSE(clockPixels.isEmpty());
    EXPECT_TRUE(clock->bounds.contains(clockPixels)) << clockPixels.x() << "," << clockPixels.y() << " "
                                                     << clockPixels.width() << "x" << clockPixels.height();
    EXPECT_GT(clockPixels.height(), clock->area.height() / 2);
    // The titles above it, in theirs.
    const ShownOp* title = FindText(ops, "Round 5");
    const ShownOp* subtitle = FindText(ops, "Swiss teams");
    ASSERT_TRUE(title != nullptr && subtitle != nullptr);
    EXPECT_EQ(title->colour, "#00FF80");
    EXPECT_LT(title->area.bottom(), subtitle->area.top());
    EXPECT_LT(subtitle->area.top(), clock->area.top());
    const QRect titlePixels = ColourBox(shown, kTitleColour);
    ASSERT_FALSE(titlePixels.isEmpty());
    EXPECT_TRUE(title->bounds.united(subtitle->bounds).contains(titlePixels));
    // The time bar along the bottom: its caption and the board in play.
    const ShownOp* caption = FindText(ops, "Board 0");
    const ShownOp* board = FindText(ops, "No 5 board");
    ASSERT_TRUE(caption != nullptr && board != nullptr) << ReadFile(display->SnapshotPath() + ".ops");
    EXPECT_GT(caption->area.top(), clock->area.bottom());
    EXPECT_GE(board->area.bottom(), 600);
}

TEST_F(WineE2eTest, NotesShowInTurnTenSecondsEach)
{
    const std::string red = scratch.Path() + "/red.png";
    const std::string blue = scratch.Path() + "/blue.png";
    ASSERT_EQ(RunTool({"convert", "-size", "320x200", "xc:#FF0000", red}, {}, scratch.Path()).nStatus, 0);
    ASSERT_EQ(RunTool({"convert", "-size", "320x200", "xc:#0000FF", blue}, {}, scratch.Path()).nStatus, 0);
    const auto display = Start({"--size", "640x400"});
    ASSERT_EQ(SendTo({"note", red}).nStatus, 0);
    ASSERT_EQ(SendTo({"note", blue}).nStatus, 0);
    auto mostly = [&](QRgb colour) {
        const QImage shown = display->Snapshot();
        return !shown.isNull() && CountColour(shown, shown.rect(), colour) > shown.width() * shown.height() / 2;
    };
    ASSERT_TRUE(WaitFor([&] { return mostly(qRgb(255, 0, 0)) || mostly(qRgb(0, 0, 255)); }, kDeadline));
    const QRgb first = mostly(qRgb(255, 0, 0)) ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
    const QRgb second = first == qRgb(255, 0, 0) ? qRgb(0, 0, 255) : qRgb(255, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return mostly(second); }, std::chrono::seconds(12)));
    EXPECT_TRUE(WaitFor([&] { return mostly(first); }, std::chrono::seconds(12)));
}

TEST_F(WineE2eTest, ClearBringsTheInformationScreenForWindows)
{
    const auto display = Start({"--size", "800x600"});
    ASSERT_EQ(SendTo({"round", "--title", "Round 1", "--length", "600"}).nStatus, 0);
    ASSERT_TRUE(display->WaitForText("Round 1", kDeadline).has_value());
    ASSERT_EQ(SendTo({"clear"}).nStatus, 0);
    const std::optional<ShownOp> platform = display->WaitForText("for Windows (7.26.36)", kDeadline);
    ASSERT_TRUE(platform.has_value()) << ReadFile(display->SnapshotPath() + ".ops");
    const std::vector<ShownOp> ops = display->Ops();
    EXPECT_EQ(FindText(ops, "Round 1"), nullptr);
    EXPECT_NE(FindText(ops, "Screen size=800x600"), nullptr);
    EXPECT_NE(FindText(ops, "Right click to full screen."), nullptr);
    const QImage shown = display->Snapshot();
    EXPECT_GT(CountColour(shown, shown.rect(), kInfoBackground), shown.width() * shown.height() / 2);
}

TEST_F(WineE2eTest, ChineseWindowsShowsChineseMenuAndInformationScreen)
{
    const auto display = Start({"--size", "800x600", "--verbose"}, {{"LANG", "zh_CN.UTF-8"}, {"LC_ALL", "zh_CN.UTF-8"}});
    const std::optional<ShownOp> hint = display->WaitForText("点右键切换到全屏", kDeadline);
    ASSERT_TRUE(hint.has_value()) << ReadFile(display->SnapshotPath() + ".ops");
    EXPECT_NE(FindText(display->Ops(), "屏幕大小=800x600"), nullptr);
    // The menu's texts are read from the log line the menu writes as it opens.
    XDoTool({"mousemove", "200", "200", "click", "3"});
    EXPECT_TRUE(WaitFor([&] {
        return display->Process().Stderr().find("context menu: \"全屏   \", \"退出   \"") != std::string::npos;
    }, kDeadline)) << display->Process().Stderr();
    XDoTool({"key", "Escape"});
}

TEST_F(WineE2eTest, MenuSwitchesToFullScreenThatCoversTheScreenAndKeepsItAwake)
{
    const auto display = Start({"--size", "800x600", "--verbose"});
    ASSERT_TRUE(display->WaitForText("Right click to full screen.", kDeadline).has_value());
    XDoTool({"mousemove", "300", "300", "click", "3"});
    ASSERT_TRUE(WaitFor([&] {
        return display->Process().Stderr().find("context menu: \"Full screen   \", \"Exit   \"") != std::string::npos;
    }, kDeadline)) << display->Process().Stderr();
    // The first item lies just below and right of the cursor, once the menu is up.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    XDoTool({"mousemove", "330", "310", "click", "1"});
    EXPECT_TRUE(WaitFor([&] { return SendTo({"size"}).out == SizeText(kWineScreenWidth, kWineScreenHeight); },
                        kDeadline));
    // Full screen drops the hint, and asks Windows to keep the display on.
    EXPECT_TRUE(WaitFor([&] { return FindText(display->Ops(), "Right click") == nullptr; }, kDeadline));
    EXPECT_NE(display->Process().Stderr().find("screen kept awake: SetThreadExecutionState(ES_CONTINUOUS | "
                                               "ES_DISPLAY_REQUIRED"), std::string::npos);
    // F11 switches back to the window.
    XDoTool({"key", "F11"});
    EXPECT_TRUE(WaitFor([&] { return SendTo({"size"}).out != SizeText(kWineScreenWidth, kWineScreenHeight); },
                        kDeadline));
    EXPECT_TRUE(WaitFor([&] {
        return display->Process().Stderr().find("screen may blank again") != std::string::npos;
    }, kDeadline));
}
