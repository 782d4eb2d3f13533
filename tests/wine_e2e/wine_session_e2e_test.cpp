// The Windows display's life under Wine: one copy, restarts, whom it lets in, the other
// platform's sender, and what the program file carries.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "wait_for.h"
#include "wine_fixture.h"

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf16(const std::string& ascii)
{
    std::string wide;
    for (char c : ascii) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

}  // namespace

TEST_F(WineE2eTest, SecondCopyIsRefusedWithItsText)
{
    const auto first = Start({"--size", "640x400"});
    WineDisplay second({"--size", "640x400"}, scratch.Path(), {}, "second");
    ASSERT_TRUE(WaitFor([&] { return second.Process().Stderr().find("Pavlune already running?") != std::string::npos; },
                        kDeadline)) << second.Process().Stderr();
    // The message box, in the middle of the screen, waits for its button.
    std::optional<int> status;
    WaitFor([&] {
        XDoTool({"mousemove", "640", "400", "key", "Return"});
        status = second.Process().WaitExit(std::chrono::milliseconds(500));
        return status.has_value();
    }, kDeadline);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(second.Process().Stdout().find("listening"), std::string::npos);
    EXPECT_EQ(SendTo({"size"}).out, "640x400\n");
}

TEST_F(WineE2eTest, KilledDisplayComesBackWithTheSameRoundAndItsClock)
{
    {
        const auto display = Start({"--size", "800x600"});
        ASSERT_EQ(SendTo({"round", "--title", "Round 7", "--length", "600", "--remaining", "400"}).nStatus, 0);
        ASSERT_TRUE(display->WaitForText("Round 7", kDeadline).has_value());
        // Saved by rename once the page is in; the kill gives it no chance to save more. The
        // folder is made before the file is renamed into it, so only the file says it is saved.
        ASSERT_TRUE(WaitFor([] { return std::filesystem::exists(PrefixStateDir() + "/pages.state"); }, kDeadline));
        display->Process().Signal(SIGKILL);
        display->Process().WaitExit(kDeadline);
    }
    const auto restarted = std::make_unique<WineDisplay>(std::vector<std::string>{"--size", "800x600"},
                                                         scratch.Path(), EnvChanges{}, "restarted");
    ASSERT_NE(restarted->WaitListening(), 0);
    // The first picture the window shows is the round, its clock running on from where the
    // saved page left it.
    ASSERT_TRUE(WaitFor([&] { return !restarted->Snapshot().isNull(); }, kDeadline));
    const std::vector<ShownOp> ops = restarted->Ops();
    bool bTitle = false;
    bool bClock = false;
    for (const ShownOp& op : ops) {
        bTitle |= op.text.find("Round 7") != std::string::npos;
        bClock |= op.text.rfind("06:", 0) == 0 || op.text.rfind("05:", 0) == 0;
    }
    EXPECT_TRUE(bTitle) << ReadFile(restarted->SnapshotPath() + ".ops");
    EXPECT_TRUE(bClock) << ReadFile(restarted->SnapshotPath() + ".ops");
}

struct AllowCase {
    const char* name;
    const char* allow;
    bool bAnswered;
};

class WineAllowTest : public WineE2eTest, public ::testing::WithParamInterface<AllowCase> {};

TEST_P(WineAllowTest, AllowKeepsOtherAddressesOut)
{
    const auto display = Start({"--size", "640x400", "--allow", GetParam().allow});
    const ToolResult size = SendTo({"size"});
    if (GetParam().bAnswered) {
        EXPECT_EQ(size.nStatus, 0) << size.err;
        EXPECT_EQ(size.out, "640x400\n");
    } else {
        EXPECT_EQ(size.nStatus, 1);
        EXPECT_EQ(size.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Peers, WineAllowTest,
    ::testing::Values(AllowCase{"this_host", "127.0.0.1", true}, AllowCase{"another_address", "192.0.2.7", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WineE2eTest, WindowsSenderDrivesTheLinuxDisplay)
{
    PavluneProcess linux({"--port", "0", "--size", "720x480", "-platform", "offscreen", "--no-restore"},
                         {{"XDG_RUNTIME_DIR", scratch.Path()}, {"XDG_STATE_HOME", scratch.Path()}}, scratch.Path());
    const int nLinuxPort = linux.WaitListening();
    ASSERT_NE(nLinuxPort, 0);
    const ToolResult size = RunTool({"wine", WindowsProgram("pavlune-send.exe"), "size", "--port",
                                     std::to_string(nLinuxPort)}, {}, scratch.Path());
    EXPECT_EQ(size.nStatus, 0) << size.err;
    EXPECT_EQ(size.out, "720x480\r\n");
    const ToolResult round = RunTool({"wine", WindowsProgram("pavlune-send.exe"), "round", "--port",
                                      std::to_string(nLinuxPort), "--title", "Round 3", "--length", "900"},
                                     {}, scratch.Path());
    EXPECT_EQ(round.nStatus, 0) << round.err;
}

TEST_F(WineE2eTest, ProgramAsksForPhysicalPixelsAndCarriesItsVersion)
{
    const auto display = Start({"--size", "640x400", "--verbose"});
    // Wine keeps 96 dpi and has no second version of per-monitor awareness; the log
    // shows the manifest was read.
    EXPECT_TRUE(WaitFor([&] { return display->Process().Stderr().find("DPI awareness: per-monitor") !=
                                     std::string::npos; }, kDeadline)) << display->Process().Stderr();
    for (const char* program : {"pavlune.exe", "pavlune-send.exe"}) {
        const std::string bytes = FileBytes(WindowsProgram(program));
        EXPECT_NE(bytes.find("PerMonitorV2"), std::string::npos) << program;
        EXPECT_NE(bytes.find(Utf16("ProductVersion")), std::string::npos) << program;
        EXPECT_NE(bytes.find(Utf16("7.26.36")), std::string::npos) << program;
    }
}

TEST_F(WineE2eTest, ConfigurationFileInAppDataIsRead)
{
    std::filesystem::create_directories(PrefixConfigDir());
    {
        std::ofstream conf(PrefixConfigDir() + "/pavlune.conf");
        conf << "size=700x500\n";
    }
    const auto display = Start({});
    EXPECT_EQ(SendTo({"size"}).out, "700x500\n");
}

struct StartErrorCase {
    const char* name;
    std::vector<std::string> args;
    int nStatus;
    const char* stderrText;
};

class WineStartErrorTest : public WineE2eTest, public ::testing::WithParamInterface<StartErrorCase> {};

TEST_P(WineStartErrorTest, EndsWithTheStatusAndTextOfLinux)
{
    WineDisplay display(GetParam().args, scratch.Path());
    EXPECT_EQ(display.Process().WaitExit(kDeadline), GetParam().nStatus);
    EXPECT_NE(display.Process().Stderr().find(GetParam().stderrText), std::string::npos) << display.Process().Stderr();
    EXPECT_EQ(display.Process().Stdout().find("listening"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Options, WineStartErrorTest,
    ::testing::Values(
        StartErrorCase{"unknown_option", {"--colour-key"}, 2, "Try 'pavlune.exe --help'."},
        StartErrorCase{"no_such_monitor", {"--screen", "3"}, 2,
                       "pavlune: no monitor \"3\"; the monitors are 0 \"\\\\.\\DISPLAY1\" 1280x800+0+0"},
        StartErrorCase{"missing_sound_file", {"--sound", "Z:\\nowhere\\bell.wav"}, 1, "pavlune: --sound: "}),
    [](const auto& info) { return std::string(info.param.name); });
