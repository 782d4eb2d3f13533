// screenshot and status: what a director at the scoring desk sees of each room's display,
// from a recording display that answers 921 and 923 with the replies a test gives it,
// or not at all, as an older display or one with --remote-view=off.
#include <QBuffer>

#include <algorithm>
#include <filesystem>

#include "send_fixture.h"
#include "shot_file_name.h"

namespace {

std::string At(const RecordingDisplay& display) { return "127.0.0.1:" + std::to_string(display.Port()); }

QByteArray PngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The files in a folder, by name.
std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// pavlune-send run from within a folder, where a file without a folder goes.
ToolResult RunSendIn(const std::string& dir, const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"/bin/sh", "-c", "cd \"$WORK_DIR\" && exec \"$0\" \"$@\"", SendProgram()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, {{"WORK_DIR", dir}}, testing::TempDir());
}

struct StatusCase {
    const char* name;
    const char* reply;
    const char* lines;
};

const StatusCase kStatusCases[] = {
    {"RoundPage",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","uptime":3725,
         "screen":{"width":1920,"height":1080,"fullScreen":true},"shown":"round page",
         "round":{"title":"Round 5","subtitle":"Swiss teams","boards":"1~8","remaining":754,"language":1},
         "restored":false,"port":9977,"messages":{"301":2,"303":5,"923":1},"framesRejected":0,"peersRefused":0})",
     "Pavlune 7.26.36 on Linux, up 1 h 02 min\n"
     "screen 1920x1080, full screen\n"
     "showing round page \"Round 5\" / \"Swiss teams\", boards 1~8, 12:34 left, English\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: 301 x2, 303 x5, 923 x1; frames rejected 0; peers refused 0\n"},
    {"RoundPageInOvertimeAfterARestart",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Windows","uptime":42,
         "screen":{"width":1280,"height":720,"fullScreen":false},"shown":"round page",
         "round":{"title":"第5轮","remaining":-65,"language":0},
         "restored":true,"port":9978,"messages":{"1001":1,"303":12},"framesRejected":3,"peersRefused":7})",
     "Pavlune 7.26.36 on Windows, up 42 s\n"
     "screen 1280x720, windowed\n"
     "showing round page \"第5轮\", overtime 01:05, Chinese\n"
     "pages restored at start: yes\n"
     "listening on port 9978\n"
     "messages: 303 x12, 1001 x1; frames rejected 3; peers refused 7\n"},
    {"RoundLongerThanAnHourWithoutTitles",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","uptime":600,
         "screen":{"width":3840,"height":2160,"fullScreen":true},"shown":"round page",
         "round":{"remaining":3723,"language":1},"restored":false,"port":9977,
         "messages":{"303":1},"framesRejected":0,"peersRefused":0})",
     "Pavlune 7.26.36 on Linux, up 10 min\n"
     "screen 3840x2160, full screen\n"
     "showing round page, 1:02:03 left, English\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: 303 x1; frames rejected 0; peers refused 0\n"},
    // "fullScreen" beside "screen" rather than in it.
    {"Note",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","uptime":90000,
         "screen":{"width":1920,"height":1080},"fullScreen":true,"shown":"note","note":{"number":2,"count":3},
         "restored":false,"port":9977,"messages":{"305":3},"framesRejected":0,"peersRefused":0})",
     "Pavlune 7.26.36 on Linux, up 25 h 00 min\n"
     "screen 1920x1080, full screen\n"
     "showing note 2 of 3\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: 305 x3; frames rejected 0; peers refused 0\n"},
    {"InformationScreenWithNothingHandled",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","uptime":5,
         "screen":{"width":1920,"height":1080,"fullScreen":true},"shown":"information screen",
         "restored":false,"port":9977,"messages":{},"framesRejected":0,"peersRefused":0})",
     "Pavlune 7.26.36 on Linux, up 5 s\n"
     "screen 1920x1080, full screen\n"
     "showing the information screen\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: none; frames rejected 0; peers refused 0\n"},
    // A title is whatever the scoring program sent; it must not break the lines or reach
    // the terminal as an escape sequence.
    {"ControlCharactersInTitlesBecomeSpaces",
     R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","uptime":5,
         "screen":{"width":1920,"height":1080,"fullScreen":true},"shown":"round page",
         "round":{"title":"A\nB\u001b[2J","subtitle":"","boards":"1~4","remaining":0},
         "restored":false,"port":9977,"messages":{"303":1},"framesRejected":0,"peersRefused":0})",
     "Pavlune 7.26.36 on Linux, up 5 s\n"
     "screen 1920x1080, full screen\n"
     "showing round page \"A B [2J\", boards 1~4, 00:00 left\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: 303 x1; frames rejected 0; peers refused 0\n"},
    // A newer display may add members, and a broken one may leave some out or give them
    // another type: what is known is still read.
    {"UnknownAndMistypedMembers",
     R"({"pub_MsgID":923,"version":"7.27.0","platform":"Linux","uptime":"long","screen":[1,2],
         "shown":"slide show","restored":1,"port":9977,"messages":{"301":"many"},"framesRejected":0,
         "peersRefused":0,"cpu":3})",
     "Pavlune 7.27.0 on Linux, up 0 s\n"
     "screen 0x0, windowed\n"
     "showing slide show\n"
     "pages restored at start: no\n"
     "listening on port 9977\n"
     "messages: 301 x0; frames rejected 0; peers refused 0\n"},
};

class SendStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(SendStatus, PrintsTheReplyAsReadableLines)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    ASSERT_NE(display.Port(), 0);
    display.Answer(MSGID_STATUS, GetParam().reply);
    ExpectOutcome(RunSend({"--port", std::to_string(display.Port()), "status"}), {0, GetParam().lines, ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].json, "{\"pub_MsgID\":923}\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, SendStatus, testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SendStatusOf, JsonPrintsTheReplyAsItCame)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    display.Answer(MSGID_STATUS, R"({"pub_MsgID":923,"shown":"note","note":{"number":1,"count":2},"port":9977})");
    // As the display's server writes it: compact, members in byte order.
    ExpectOutcome(RunSend({"--host", At(display), "status", "--json"}),
                  {0, "{\"note\":{\"count\":2,\"number\":1},\"port\":9977,\"pub_MsgID\":923,\"shown\":\"note\"}\n", ""});
}

TEST(SendStatusOf, SeveralDisplaysEachUnderItsHost)
{
    RecordingDisplay hallA(kDisplayWidth, kDisplayHeight);
    RecordingDisplay hallB(kDisplayWidth, kDisplayHeight);
    hallA.Answer(MSGID_STATUS, kStatusCases[0].reply);
    hallB.Answer(MSGID_STATUS, kStatusCases[4].reply);
    ExpectOutcome(RunSend({"--host", At(hallA), "--host", At(hallB), "status"}),
                  {0,
                   At(hallA) + ":\n"
                   "  Pavlune 7.26.36 on Linux, up 1 h 02 min\n"
                   "  screen 1920x1080, full screen\n"
                   "  showing round page \"Round 5\" / \"Swiss teams\", boards 1~8, 12:34 left, English\n"
                   "  pages restored at start: no\n"
                   "  listening on port 9977\n"
                   "  messages: 301 x2, 303 x5, 923 x1; frames rejected 0; peers refused 0\n" +
                   At(hallB) + ":\n"
                   "  Pavlune 7.26.36 on Linux, up 5 s\n"
                   "  screen 1920x1080, full screen\n"
                   "  showing the information screen\n"
                   "  pages restored at start: no\n"
                   "  listening on port 9977\n"
                   "  messages: none; frames rejected 0; peers refused 0\n",
                   ""});
    hallA.Answer(MSGID_STATUS, R"({"pub_MsgID":923,"port":9977})");
    hallB.Answer(MSGID_STATUS, R"({"pub_MsgID":923,"port":9978})");
    ExpectOutcome(RunSend({"--host", At(hallA), "--host", At(hallB), "status", "--json"}),
                  {0,
                   At(hallA) + ": {\"port\":9977,\"pub_MsgID\":923}\n" + At(hallB) +
                       ": {\"port\":9978,\"pub_MsgID\":923}\n",
                   ""});
}

// The screen of a display: 64 x 36, so that a wrong width or height shows.
const QImage kScreen = HalvesPicture(64, 36);
constexpr const char* kScreenReply = R"({"pub_MsgID":921,"71":64,"72":36})";

class SendScreenshot : public testing::Test {
protected:
    ScratchDir m_scratch;
};

TEST_F(SendScreenshot, WritesThePictureToTheNamedFileAndPrintsItsSize)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    const QByteArray png = PngOf(kScreen);
    display.Answer(MSGID_SCREEN_PICTURE, kScreenReply, png);
    const std::string file = m_scratch.Path() + "/hall.png";
    WriteScratch(m_scratch.Path(), "hall.png", "the picture of an hour ago");

    ExpectOutcome(RunSend({"--host", At(display), "screenshot", file}), {0, "64x36\n", ""});
    EXPECT_EQ(ReadFile(file), png.toStdString());
    // Written beside the file and renamed over it: nothing else is left in the folder.
    EXPECT_EQ(FilesIn(m_scratch.Path()), std::vector<std::string>{"hall.png"});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].json, "{\"pub_MsgID\":921}\n");
}

TEST_F(SendScreenshot, WithoutAFileWritesPavluneHostPngWhereItRuns)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    const QByteArray png = PngOf(kScreen);
    display.Answer(MSGID_SCREEN_PICTURE, kScreenReply, png);
    ExpectOutcome(RunSendIn(m_scratch.Path(), {"--host", At(display), "screenshot"}), {0, "64x36\n", ""});
    const std::string name = "pavlune-127.0.0.1_" + std::to_string(display.Port()) + ".png";
    EXPECT_EQ(FilesIn(m_scratch.Path()), std::vector<std::string>{name});
    EXPECT_EQ(ReadFile(m_scratch.Path() + "/" + name), png.toStdString());
}

TEST_F(SendScreenshot, SeveralDisplaysEachGetAFileWithTheirHostInTheName)
{
    RecordingDisplay hallA(kDisplayWidth, kDisplayHeight);
    RecordingDisplay hallB(kDisplayWidth, kDisplayHeight);
    const QByteArray pngA = PngOf(kScreen);
    const QByteArray pngB = PngOf(HalvesPicture(36, 64));
    hallA.Answer(MSGID_SCREEN_PICTURE, kScreenReply, pngA);
    hallB.Answer(MSGID_SCREEN_PICTURE, R"({"pub_MsgID":921,"71":36,"72":64})", pngB);
    const std::string fileA = m_scratch.Path() + "/shots-127.0.0.1_" + std::to_string(hallA.Port()) + ".png";
    const std::string fileB = m_scratch.Path() + "/shots-127.0.0.1_" + std::to_string(hallB.Port()) + ".png";

    ExpectOutcome(RunSend({"--host", At(hallA), "--host", At(hallB), "screenshot", m_scratch.Path() + "/shots.png"}),
                  {0, At(hallA) + ": 64x36 (" + fileA + ")\n" + At(hallB) + ": 36x64 (" + fileB + ")\n", ""});
    EXPECT_EQ(ReadFile(fileA), pngA.toStdString());
    EXPECT_EQ(ReadFile(fileB), pngB.toStdString());
}

TEST_F(SendScreenshot, DashWritesThePngToStandardOutputAndNothingElse)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    const QByteArray png = PngOf(kScreen);
    display.Answer(MSGID_SCREEN_PICTURE, kScreenReply, png);
    ExpectOutcome(RunSend({"--host", At(display), "screenshot", "-"}), {0, png.toStdString(), ""});
}

TEST_F(SendScreenshot, WidthAsksForTheLargestWidth)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    display.Answer(MSGID_SCREEN_PICTURE, kScreenReply, PngOf(kScreen));
    ExpectOutcome(RunSend({"--host", At(display), "screenshot", m_scratch.Path() + "/a.png", "--width", "640"}),
                  {0, "64x36\n", ""});
    ExpectOutcome(RunSend({"--host", At(display), "screenshot", "--width=16384", m_scratch.Path() + "/b.png"}),
                  {0, "64x36\n", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].json, "{\"73\":640,\"pub_MsgID\":921}\n");
    EXPECT_EQ(msgs[1].json, "{\"73\":16384,\"pub_MsgID\":921}\n");
}

// A reply that is not the picture it says is never saved: the file a director already
// has stays as it was.
struct BadPictureCase {
    const char* name;
    const char* reply;
    QByteArray attachment;
    const char* errHas;
};

TEST_F(SendScreenshot, APictureThatIsNotWhatTheReplySaysIsNotSaved)
{
    QBuffer jpegBuffer;
    jpegBuffer.open(QIODevice::WriteOnly);
    kScreen.save(&jpegBuffer, "JPEG");
    const QByteArray png = PngOf(kScreen);
    const BadPictureCase cases[] = {
        {"WrongSize", R"({"pub_MsgID":921,"71":1920,"72":1080})", png, "sent a screen picture of 64x36 but said 1920x1080"},
        {"Jpeg", kScreenReply, jpegBuffer.data(), "sent a screen picture that is not a PNG"},
        {"CutShort", kScreenReply, png.left(png.size() - 30), "sent a screen picture that cannot be decoded"},
        {"NoPicture", kScreenReply, QByteArray(), "sent a screen picture that is not a PNG"},
    };
    for (const BadPictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDisplay display(kDisplayWidth, kDisplayHeight);
        display.Answer(MSGID_SCREEN_PICTURE, c.reply, c.attachment);
        const std::string file = WriteScratch(m_scratch.Path(), "hall.png", "the picture of an hour ago");
        const ToolResult r = RunSend({"--host", At(display), "screenshot", file});
        EXPECT_EQ(r.nStatus, 1);
        EXPECT_EQ(r.out, "");
        // Qt's PNG reader may warn on a line of its own before the sender's line.
        const std::size_t lastLine = r.err.rfind('\n', r.err.size() - 2) + 1;
        EXPECT_NE(r.err.find(c.errHas, lastLine), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(file), "the picture of an hour ago");
        EXPECT_EQ(FilesIn(m_scratch.Path()), std::vector<std::string>{"hall.png"});
    }
}

TEST_F(SendScreenshot, AFolderThatDoesNotExistFailsWithNothingLeftBehind)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    display.Answer(MSGID_SCREEN_PICTURE, kScreenReply, PngOf(kScreen));
    ExpectOutcome(RunSend({"--host", At(display), "screenshot", m_scratch.Path() + "/gone/hall.png"}),
                  {1, "", "cannot write " + m_scratch.Path() + "/gone/hall.png: No such file or directory"});
    std::filesystem::create_directory(m_scratch.Path() + "/folder");
    ExpectOutcome(RunSend({"--host", At(display), "screenshot", m_scratch.Path() + "/folder"}),
                  {1, "", "cannot write " + m_scratch.Path() + "/folder"});
    EXPECT_EQ(FilesIn(m_scratch.Path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(std::filesystem::is_empty(m_scratch.Path() + "/folder"));
}

// A display that closes without a reply: an older one, one with --remote-view=off, or one
// that refuses this sender. One line, status 1, and the other displays still answered.
struct NoAnswerCase {
    const char* name;
    std::vector<std::string> args;
    const char* requests;
};

const NoAnswerCase kNoAnswerCases[] = {
    {"Status", {"status"}, "status"},
    {"StatusJson", {"status", "--json"}, "status"},
    {"Screenshot", {"screenshot", "@hall.png"}, "screen picture"},
    {"ScreenshotToStandardOutput", {"screenshot", "-"}, "screen picture"},
};

class SendWithoutAnswer : public testing::TestWithParam<NoAnswerCase> {
protected:
    std::vector<std::string> Args(const std::string& host) const
    {
        std::vector<std::string> args{"--host", host};
        for (const std::string& a : GetParam().args) {
            args.push_back(a.starts_with("@") ? m_scratch.Path() + "/" + a.substr(1) : a);
        }
        return args;
    }

    ScratchDir m_scratch;
};

TEST_P(SendWithoutAnswer, SaysSoInOneLineWithStatus1)
{
    RecordingDisplay older(kDisplayWidth, kDisplayHeight);
    const ToolResult r = RunSend(Args(At(older)));
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "pavlune-send: " + At(older) + " does not answer " + GetParam().requests + " requests\n");
    EXPECT_EQ(older.Messages().size(), 1u);
    EXPECT_TRUE(FilesIn(m_scratch.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendWithoutAnswer, testing::ValuesIn(kNoAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SendWithoutAnswerFrom, OneDisplayFailsTheCommandButTheOthersAreShown)
{
    RecordingDisplay older(kDisplayWidth, kDisplayHeight);
    RecordingDisplay newer(kDisplayWidth, kDisplayHeight);
    newer.Answer(MSGID_STATUS, R"({"pub_MsgID":923,"port":9977})");
    ExpectOutcome(RunSend({"--host", At(older), "--host", At(newer), "status", "--json"}),
                  {1, At(newer) + ": {\"port\":9977,\"pub_MsgID\":923}\n",
                   At(older) + " does not answer status requests"});
}

// A display that takes the request and then neither answers nor closes still lets the
// sender end, after the exchange's 10 seconds.
TEST(SendWithoutAnswerFrom, AHangingDisplayEndsTheSenderWithItsReason)
{
    RecordingDisplay hanging(kDisplayWidth, kDisplayHeight);
    hanging.KeepOpenWithoutAnswer();
    ExpectOutcome(RunSend({"--host", At(hanging), "status"}),
                  {1, "", "the display at " + At(hanging) + " did not close the connection within 10 seconds"});
}

// Where each display's picture goes. Displays on the standard port are named by host
// alone; the port joins the name when it is another or two displays share a host.
struct FileNameCase {
    const char* name;
    std::string file;
    std::vector<SendTarget> targets;
    std::vector<std::string> names;
};

const FileNameCase kFileNameCases[] = {
    {"DefaultOnTheStandardPort", "", {{"hallb", 9977, {}}}, {"pavlune-hallb.png"}},
    {"DefaultOnAnotherPort", "", {{"10.0.0.7", 9978, {}}}, {"pavlune-10.0.0.7_9978.png"}},
    {"DefaultForSeveral", "", {{"halla", 9977, {}}, {"hallb", 9977, {}}}, {"pavlune-halla.png", "pavlune-hallb.png"}},
    {"OneDisplayKeepsTheFileAsNamed", "shots.png", {{"hallb", 9978, {}}}, {"shots.png"}},
    {"SeveralBeforeTheExtension", "out/shots.png", {{"halla", 9977, {}}, {"hallb", 9977, {}}},
     {"out/shots-halla.png", "out/shots-hallb.png"}},
    {"SharedHostGetsPorts", "shots.png", {{"hall", 9977, {}}, {"hall", 9978, {}}},
     {"shots-hall_9977.png", "shots-hall_9978.png"}},
    {"NoExtension", "out.d/shots", {{"halla", 9977, {}}, {"hallb", 9977, {}}}, {"out.d/shots-halla", "out.d/shots-hallb"}},
    {"DotFileHasNoExtension", ".shots", {{"halla", 9977, {}}, {"hallb", 9977, {}}}, {".shots-halla", ".shots-hallb"}},
    // Characters Windows refuses in a file name, or reads as a folder.
    {"UnsafeHostCharacters", "", {{"hall b\\c*?<>|\"/", 9977, {}}}, {"pavlune-hall_b_c_______.png"}},
};

class ShotFileName : public testing::TestWithParam<FileNameCase> {};

TEST_P(ShotFileName, NamesEachDisplaysFile)
{
    EXPECT_EQ(ShotFileNames(GetParam().file, GetParam().targets), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShotFileName, testing::ValuesIn(kFileNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
