// The command line's front, the same for both programs: the monitor --screen names, the
// list in its complaint, and what ends the program before any window.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/monitor_choice.h"

namespace {

const std::vector<MonitorInfo> kTwoMonitors{{"HDMI-1", RECT{0, 0, 1920, 1080}},
                                            {"DP-2", RECT{1920, -200, 3200, 824}}};

struct ChoiceCase {
    const char* choice;
    std::optional<std::size_t> expected;
};

class MonitorChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(MonitorChoice, ByNumberOrName)
{
    EXPECT_EQ(ChooseMonitor(GetParam().choice, kTwoMonitors), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MonitorChoice,
                         ::testing::Values(ChoiceCase{"", 0}, ChoiceCase{"0", 0}, ChoiceCase{"1", 1},
                                           ChoiceCase{"DP-2", 1}, ChoiceCase{"HDMI-1", 0},
                                           ChoiceCase{"2", std::nullopt}, ChoiceCase{"-1", std::nullopt},
                                           ChoiceCase{"1x", std::nullopt}, ChoiceCase{"dp-2", std::nullopt}));

TEST(MonitorChoiceNone, NoMonitorsChoosesNothing)
{
    EXPECT_EQ(ChooseMonitor("", {}), std::nullopt);
}

TEST(UnknownMonitor, NamesTheMonitorsThereAreAndPointsToHelp)
{
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(UnknownMonitorError("3", kTwoMonitors, "pavlune"), 2);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "pavlune: no monitor \"3\"; the monitors are 0 \"HDMI-1\" 1920x1080+0+0, 1 \"DP-2\" 1280x1024+1920+-200\n"
              "Try 'pavlune --help'.\n");
    ::testing::internal::CaptureStderr();
    UnknownMonitorError("x", {}, "pavlune.exe");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "pavlune: no monitor \"x\"; the monitors are none\nTry 'pavlune.exe --help'.\n");
}

struct AnswerCase {
    const char* name;
    std::vector<std::string> args;
    std::optional<int> status;
    const char* outStart;  // the beginning of standard output
    const char* err;       // standard error
};

class Answer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(Answer, EndsTheProgramOnlyForErrorsHelpAndVersion)
{
    const AnswerCase& c = GetParam();
    const ParsedOptions parsed = ParseOptions(c.args, "");
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(AnswerCommandLine(parsed, "pavlune", PlatformHelp{{}, "NOTES"}), c.status);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err);
    EXPECT_EQ(out.substr(0, std::string(c.outStart).size()), c.outStart);
    EXPECT_EQ(out.empty(), std::string(c.outStart).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Answer,
    ::testing::Values(AnswerCase{"GoesOn", {"pavlune", "--fullscreen"}, std::nullopt, "", ""},
                      AnswerCase{"Help", {"pavlune", "--help"}, 0, "Usage: pavlune", ""},
                      AnswerCase{"Version", {"pavlune", "--version"}, 0, "pavlune ", ""},
                      AnswerCase{"Error", {"pavlune", "--no-such-option"}, 2, "",
                                 "pavlune: unknown option \"--no-such-option\"\nTry 'pavlune --help'.\n"}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

}  // namespace
