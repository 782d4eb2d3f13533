// The time-signal options, on the command line and in the configuration file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "options/options.h"
#include "scratch_dir.h"

namespace {

struct SignalOptionCase {
    const char* name;
    std::vector<std::string> args;
    const char* configText;  // nullptr: no file
    const char* error;       // part of the complaint, "" when all is fine
    TimeSignals expected;
};

class TimeSignalOptions : public ::testing::TestWithParam<SignalOptionCase> {
protected:
    ScratchDir m_dir{"pavlune-signals-"};
};

TEST_P(TimeSignalOptions, AreReadIntoTheTimeSignals)
{
    const SignalOptionCase& c = GetParam();
    const std::string configPath = (m_dir.Path() / "pavlune.conf").string();
    if (c.configText != nullptr) std::ofstream(configPath) << c.configText;
    std::vector<std::string> args{"pavlune"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ParsedOptions parsed = ParseOptions(args, configPath);
    if (*c.error != '\0') {
        EXPECT_NE(parsed.strError.find(c.error), std::string::npos) << parsed.strError;
        return;
    }
    ASSERT_EQ(parsed.strError, "");
    EXPECT_EQ(parsed.options.timeSignals.stages, c.expected.stages);
    EXPECT_EQ(parsed.options.timeSignals.bBlinkOvertime, c.expected.bBlinkOvertime);
    EXPECT_EQ(parsed.options.timeSignals.strSound, c.expected.strSound);
}

constexpr COLORREF kAmber = RGB(255, 191, 0);
constexpr COLORREF kOrange = RGB(255, 96, 0);

INSTANTIATE_TEST_SUITE_P(
    Options, TimeSignalOptions,
    ::testing::Values(
        SignalOptionCase{"none", {}, nullptr, "", TimeSignals{}},
        SignalOptionCase{"two_stages_in_order_given",
                         {"--warn", "300", "--warn=60:#ff6000"}, nullptr, "",
                         TimeSignals{{{300, kAmber}, {60, kOrange}}, false, ""}},
        SignalOptionCase{"blink_and_bell", {"--blink-overtime", "--sound", "bell"}, nullptr, "",
                         TimeSignals{{}, true, "bell"}},
        SignalOptionCase{"sound_file", {"--sound=/srv/gong.wav"}, nullptr, "", TimeSignals{{}, false, "/srv/gong.wav"}},
        SignalOptionCase{"sound_off", {"--sound", "off"}, nullptr, "", TimeSignals{}},
        SignalOptionCase{"file", {}, "warn=300, 60:#ff6000\nblink-overtime=true\nsound=bell\n", "",
                         TimeSignals{{{300, kAmber}, {60, kOrange}}, true, "bell"}},
        SignalOptionCase{"file_one_stage_named_colour", {}, "warn=120:orange\n", "",
                         TimeSignals{{{120, RGB(255, 165, 0)}}, false, ""}},
        // The command line takes the place of the file's stages rather than adding to them.
        SignalOptionCase{"command_line_wins", {"--warn", "30", "--sound=off"}, "warn=300, 60\nsound=bell\n", "",
                         TimeSignals{{{30, kAmber}}, false, ""}},
        SignalOptionCase{"zero_seconds", {"--warn", "0"}, nullptr, "--warn takes", {}},
        SignalOptionCase{"minutes_spelled", {"--warn", "5:00"}, nullptr, "--warn takes", {}},
        SignalOptionCase{"unknown_colour", {"--warn", "300:glow"}, nullptr, "--warn takes", {}},
        // A colour takes the same forms on the command line and in the file's list.
        SignalOptionCase{"channels", {"--warn", "300:255,96,0"}, nullptr, "", TimeSignals{{{300, kOrange}}, false, ""}},
        SignalOptionCase{"channels_in_file", {}, "warn=300:255,96,0\n", "", TimeSignals{{{300, kOrange}}, false, ""}},
        SignalOptionCase{"channels_among_stages_in_file", {}, "warn=300:255, 96, 0, 60, 30:red, 10:#ff6000\n", "",
                         TimeSignals{{{300, kOrange}, {60, kAmber}, {30, RGB(255, 0, 0)}, {10, kOrange}}, false, ""}},
        SignalOptionCase{"channel_out_of_range", {"--warn", "300:256,0,0"}, nullptr, "--warn takes", {}},
        SignalOptionCase{"two_channels", {"--warn", "300:255,96"}, nullptr, "--warn takes", {}},
        SignalOptionCase{"empty_sound", {"--sound="}, nullptr, "--sound takes", {}},
        SignalOptionCase{"blink_with_value", {"--blink-overtime=yes"}, nullptr, "unexpected value", {}},
        SignalOptionCase{"blink_in_file", {}, "blink-overtime=perhaps\n", "--blink-overtime takes", {}}),
    [](const ::testing::TestParamInfo<SignalOptionCase>& info) { return std::string(info.param.name); });

TEST(TimeSignalUsage, HelpShowsTheOptions)
{
    const std::string text = UsageText("pavlune");
    for (const char* part : {"--warn=SECONDS[:COLOUR]", "--blink-overtime", "--sound=bell|FILE|off", "#ffbf00"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
}

}  // namespace
