// Command lines that make no sense: each is refused with status 2 and one line naming the
// cause, before anything reaches a display.
#include "send_fixture.h"

namespace {

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    const char* errHas;
};

const UsageCase kUsageCases[] = {
    {"NoCommand", {}, "no command given"},
    {"UnknownCommand", {"paint"}, "unknown command \"paint\""},
    {"UnknownOption", {"size", "--colour", "red"}, "unknown option --colour"},
    {"PortNotANumber", {"--port", "x", "size"}, "--port takes a whole number from 1 to 65535"},
    {"PortZeroInGnuForm", {"--port=0", "size"}, "--port takes a whole number from 1 to 65535"},
    {"HostWithBadPort", {"--host", "127.0.0.1:99999", "size"}, "--host takes a name or address"},
    {"EmptyHost", {"--host=", "size"}, "--host needs a name or address"},
    {"MissingValue", {"round", "--length", "60", "--title"}, "--title"},
    {"MissingValueOfAnOptionOfEveryCommand", {"size", "--port"}, "Missing value after '--port'."},
    {"UnknownAmongShortOptionsRunTogether", {"size", "-hx"}, "unknown option -x"},
    {"ValueAfterAShortFlag", {"size", "-h=1"}, "Unexpected value after '-h'."},
    {"DashedOperandAfterDoubleDash", {"clear", "--", "--help"}, "unexpected argument \"--help\""},
    {"FlagWithValue", {"round", "--length", "60", "--bar-top=1"}, "--bar-top"},
    {"RoundOptionOnClear", {"clear", "--title", "A"}, "--title is not an option of clear"},
    {"NoteOptionOnRound", {"round", "--length", "60", "--fit"}, "--fit is not an option of round"},
    {"OptionGivenTwice", {"round", "--length", "60", "--title", "A", "--title=B"}, "--title is given more than once"},
    {"ExtraArgument", {"size", "now"}, "unexpected argument \"now\""},
    {"RoundWithoutLength", {"round", "--remaining", "600"}, "round needs --length"},
    {"LengthZero", {"round", "--length", "0"}, "--length takes a whole number from 1"},
    {"LengthNegative", {"round", "--length", "-60"}, "--length takes a whole number from 1"},
    {"LengthWithUnit", {"round", "--length", "45m"}, "not \"45m\""},
    {"RemainingWithUnit", {"round", "--length", "60", "--remaining", "10s"}, "--remaining takes a whole number"},
    {"ClockXAbove100", {"round", "--length", "60", "--clock-x", "150"}, "--clock-x takes a whole number from 0 to 100"},
    {"ClockYBelow0", {"round", "--length", "60", "--clock-y=-1"}, "--clock-y takes a whole number from 0 to 100"},
    {"ClockHeight500", {"round", "--length", "60", "--clock-height", "500"}, "--clock-height takes a whole number from 5 to 100"},
    {"ClockHeight4", {"round", "--length", "60", "--clock-height", "4"}, "--clock-height takes a whole number from 5"},
    {"Lang2", {"round", "--length", "60", "--lang", "2"}, "--lang takes a whole number from 0 to 1"},
    {"Lang3", {"round", "--length", "60", "--lang", "3"}, "--lang takes a whole number from 0 to 1"},
    {"LangMinus1", {"round", "--length", "60", "--lang", "-1"}, "--lang takes a whole number from 0 to 1"},
    {"ColourAbove255", {"round", "--length", "60", "--clock-colour", "300,0,0"}, "--clock-colour: \"300,0,0\" is not a colour"},
    {"ColourTwoParts", {"round", "--length", "60", "--title-colour", "1,2"}, "is not a colour"},
    {"ColourFourParts", {"round", "--length", "60", "--title-colour", "1,2,3,4"}, "is not a colour"},
    {"ColourShortHex", {"round", "--length", "60", "--clock-colour", "#FFF"}, "is not a colour"},
    {"ColourUnknownName", {"round", "--length", "60", "--overtime-colour", "blurple"}, "\"blurple\" is not a colour"},
    {"ColourTransparent", {"round", "--length", "60", "--clock-colour", "transparent"}, "is not a colour"},
    {"BoardsWithText", {"round", "--length", "600", "--boards", "1-x"}, "\"1-x\" is neither"},
    {"BoardZero", {"round", "--length", "600", "--boards", "0"}, "--boards takes board numbers from 1"},
    {"BoardAbove999", {"round", "--length", "6000", "--boards", "1-1000"}, "--boards takes board numbers from 1 to 999"},
    {"BoardsOnlySeparators", {"round", "--length", "600", "--boards", ","}, "names no board"},
    {"BoardsOpenRange", {"round", "--length", "600", "--boards", "9-"}, "\"9-\" is neither"},
    {"BoardsOutlastTheRound", {"round", "--length", "60", "--boards", "1-40"}, "less than 3 seconds for each of 40 boards"},
    {"Latin1Title", {"round", "--length", "60", "--title", "Caf\xe9"}, "the value of --title is not valid UTF-8"},
    {"Latin1CaptionGnuForm", {"round", "--length", "60", "--caption=\xe9t\xe9"}, "the value of --caption is not valid UTF-8"},
    {"OverlongSlashInSubtitle", {"round", "--length", "60", "--subtitle", "a\xc0\xaf" "b"}, "--subtitle is not valid UTF-8"},
    {"SurrogateInBoards", {"round", "--length", "60", "--boards", "1\xed\xa0\x80"}, "--boards is not valid UTF-8"},
    {"TextCutInTheMiddleOfACharacter", {"round", "--length", "60", "--title", "\xe7\xac"}, "--title is not valid UTF-8"},
    {"Latin1Command", {"cl\xe9"}, "argument 3 is not valid UTF-8"},
    {"Latin1FileAfterAFlag", {"note", "--replace", "caf\xe9.png"}, "argument 5 is not valid UTF-8"},
    {"NoteWithoutFile", {"note"}, "note needs FILE"},
    {"BackgroundWithoutFit", {"note", "x.png", "--background", "red"}, "give --fit too"},
    {"FitBackgroundNotAColour", {"note", "x.png", "--fit", "--background", "nope"}, "--background: \"nope\" is not a colour"},
    {"RawWithoutJson", {"raw"}, "raw needs JSON"},
    {"RawCutShort", {"raw", "{\"pub_MsgID\":301"}, "raw JSON error at line 1, column 17"},
    {"RawUnquotedKey", {"raw", "{pub_MsgID:301"}, "raw JSON error at line 1, column 2"},
    {"RawErrorOnLine2", {"raw", "{\"pub_MsgID\":301,\n  \"1\":}"}, "raw JSON error at line 2, column 7"},
    {"RawTextAfterTheObject", {"raw", "{\"pub_MsgID\":301} x"}, "raw JSON error at line 1, column 19"},
    {"RawNotAnObject", {"raw", "[309]"}, "raw needs a JSON object"},
    {"RawWithoutId", {"raw", "{\"1\":\"A\"}"}, "raw needs \"pub_MsgID\""},
    {"RawIdAsText", {"raw", "{\"pub_MsgID\":\"301\"}"}, "raw needs \"pub_MsgID\""},
    {"RawIdZero", {"raw", "{\"pub_MsgID\":0}"}, "raw needs \"pub_MsgID\""},
    {"AttachOnNote", {"note", "x.png", "--attach", "y"}, "--attach is not an option of note"},
    {"WidthZero", {"screenshot", "--width", "0"}, "--width takes a whole number from 1 to 16384, not \"0\""},
    {"WidthAboveTheLargest", {"screenshot", "--width=16385"}, "--width takes a whole number from 1 to 16384"},
    {"WidthWithUnit", {"screenshot", "--width", "640px"}, "not \"640px\""},
    {"StandardOutputForTwoDisplays", {"--host", "127.0.0.1:1", "screenshot", "-"},
     "screenshot - writes one picture to standard output"},
    {"SameDisplayTwice", {"--host", "127.0.0.1:1", "--host", "127.0.0.1:1", "screenshot"},
     "--host 127.0.0.1:1 is given twice"},
    {"TwoFiles", {"screenshot", "a.png", "b.png"}, "unexpected argument \"b.png\""},
    {"WidthOnStatus", {"status", "--width", "640"}, "--width is not an option of status, only of screenshot"},
    {"JsonOnScreenshot", {"screenshot", "--json"}, "--json is not an option of screenshot, only of status"},
    {"StatusWithArgument", {"status", "now"}, "unexpected argument \"now\""},
};

class SendUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(SendUsage, IsRefusedWithOneLineAndNothingSent)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    ASSERT_NE(display.Port(), 0);
    // A --host of its own, so that the cases are free to get --port wrong.
    std::vector<std::string> args{"--host", "127.0.0.1:" + std::to_string(display.Port())};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    ExpectOutcome(RunSend(args), {2, "", GetParam().errHas});
    EXPECT_TRUE(display.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendUsage, testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each command's help names every option it takes and none it does not.
struct HelpCase {
    std::vector<std::string> args;
    std::vector<std::string> has;
    std::vector<std::string> lacks;
};

const HelpCase kHelpCases[] = {
    {{"--help"}, {"clear", "round", "note FILE", "size", "raw JSON", "--host", "--port", "Exit status"}, {"--title"}},
    {{"-h"}, {"clear", "round", "note FILE", "size", "raw JSON"}, {"--title"}},
    {{"round", "--help"},
     {"--title", "--subtitle", "--length", "--remaining", "--boards", "--caption", "--bar-top", "--clock-x",
      "--clock-y", "--clock-height", "--clock-box", "--title-colour", "--clock-colour", "--overtime-colour", "--lang",
      "--picture", "--host", "--port"},
     {"--fit", "--attach", "--replace"}},
    {{"--help", "note"}, {"note FILE", "--replace", "--fit", "--background", "--host"}, {"--title", "--attach"}},
    {{"raw", "-h"}, {"raw JSON", "--attach", "--host"}, {"--title", "--fit"}},
    {{"size", "--help"}, {"size", "--host", "--port"}, {"--title", "--fit", "--attach"}},
    {{"--help"}, {"screenshot [FILE|-]", "message 921", "status", "message 923"}, {"--width", "--json"}},
    {{"screenshot", "--help"},
     {"screenshot [FILE|-]", "--width N", "pavlune-HOST.png", "shots-HOST.png", "HOST: WIDTHxHEIGHT (FILE)", "--host"},
     {"--json", "--title", "--fit"}},
    {{"status", "-h"}, {"status", "--json", "--host"}, {"--width", "--title"}},
};

class SendHelp : public testing::TestWithParam<HelpCase> {};

TEST_P(SendHelp, ListsTheOptionsOfItsCommand)
{
    const ToolResult r = RunSend(GetParam().args);
    EXPECT_EQ(r.nStatus, 0);
    EXPECT_EQ(r.err, "");
    for (const std::string& word : GetParam().has) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
    for (const std::string& word : GetParam().lacks) {
        EXPECT_EQ(r.out.find(word), std::string::npos) << word;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SendHelp, testing::ValuesIn(kHelpCases));

}  // namespace
