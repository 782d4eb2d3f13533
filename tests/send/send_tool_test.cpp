// pavlune-send run as a program against a server on a free loopback port.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "msg/msg_ids.h"
#include "server_fixture.h"

extern char** environ;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

RunResult RunSend(const std::vector<std::string>& args)
{
    const std::string dir = testing::TempDir();
    const std::string outPath = dir + "pavlune-send.out";
    const std::string errPath = dir + "pavlune-send.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(PAVLUNE_SEND_PATH)};
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    RunResult r;
    pid_t pid = 0;
    if (posix_spawn(&pid, PAVLUNE_SEND_PATH, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

std::string WriteTempFile(const std::string& name, std::size_t size)
{
    const std::string path = testing::TempDir() + name;
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i) {
        out.put(static_cast<char>(i * 13));
    }
    return path;
}

bool OneLine(const std::string& text)
{
    return !text.empty() && text.find('\n') == text.size() - 1;
}

// The display's side as the main window plays it: a size reply to 309 when it has a
// size to tell, and every connection closed once its message is handled.
class SendTool : public ServerTest {
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        proc.SetOnMessage([this](SOCKET s, CommMsg_base& msg) {
            if (answersSize && GetIntByName(msg, kMsgIdKey) == MSGID_SCREEN_SIZE) {
                CommMsg_base reply;
                reply.ResetMsg(MSGID_SCREEN_SIZE);
                SetIntField(reply, MsgKey::kScreenWidth, 1920);
                SetIntField(reply, MsgKey::kScreenHeight, 1080);
                server->SendMsg({s}, reply);
            }
            server->CloseConnection(s);
        });
    }

    std::vector<std::string> To(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--port", std::to_string(port)});
        return args;
    }

    std::atomic<bool> answersSize{true};
};

TEST_F(SendTool, SizePrintsTheReportedScreenSize)
{
    const RunResult r = RunSend(To({"size"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1920x1080\n");
    ASSERT_EQ(proc.Messages().size(), 1u);
    EXPECT_EQ(proc.Messages()[0].json, "{\"pub_MsgID\":309}\n");
}

TEST_F(SendTool, SizeWithoutAReplyFails)
{
    answersSize = false;
    const RunResult r = RunSend(To({"size"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(SendTool, RoundCarriesEveryOptionUnderItsKey)
{
    const std::string picture = WriteTempFile("round.bin", 300);
    const RunResult r = RunSend(To({"round", "--title", "第3轮", "--subtitle", "Open pairs", "--remaining", "-30",
                                    "--length", "2700", "--boards", "1-3", "--caption", "Time", "--bar-top",
                                    "--clock-x", "50", "--clock-y", "60", "--clock-height", "30", "--clock-box",
                                    "--title-colour", "255,255,0", "--clock-colour", "0,128,255", "--overtime-colour",
                                    "255,0,0", "--lang", "1", "--picture", picture}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(proc.Messages().size(), 1u);
    const ReceivedMsg m = proc.Messages()[0];
    CommMsg_base sent;
    sent.FromJsonText(m.json);
    EXPECT_EQ(GetIntByName(sent, kMsgIdKey), MSGID_ROUND_PAGE);
    const std::pair<int, const char*> texts[] = {
        {MsgKey::kTitle, "第3轮"},           {MsgKey::kSubtitle, "Open pairs"},      {MsgKey::kBoards, "1-3"},
        {MsgKey::kCaption, "Time"},          {MsgKey::kTitleColour, "255,255,0"},    {MsgKey::kClockColour, "0,128,255"},
        {MsgKey::kOvertimeColour, "255,0,0"}};
    for (const auto& [key, text] : texts) {
        EXPECT_EQ(GetStringField(sent, key), text) << key;
    }
    const std::pair<int, int> ints[] = {{MsgKey::kRemaining, -30}, {MsgKey::kPeriodLength, 2700},
                                        {MsgKey::kBarTop, 1},      {MsgKey::kClockX, 50},
                                        {MsgKey::kClockY, 60},     {MsgKey::kClockHeight, 30},
                                        {MsgKey::kClockBox, 1},    {MsgKey::kLanguage, 1}};
    for (const auto& [key, n] : ints) {
        EXPECT_EQ(GetIntField(sent, key), n) << key;
    }
    EXPECT_EQ(sent.getMemberNames().size(), std::size(texts) + std::size(ints) + 1);
    EXPECT_EQ(m.attachLen, 300);
}

TEST_F(SendTool, BareRoundGetsACentredReadableClock)
{
    const RunResult r = RunSend(To({"round", "--remaining", "600"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(proc.Messages().size(), 1u);
    EXPECT_EQ(proc.Messages()[0].json, "{\"11\":600,\"21\":50,\"22\":50,\"31\":\"255,255,255\",\"32\":\"255,255,255\","
                                       "\"33\":\"255,64,64\",\"72\":40,\"pub_MsgID\":303}\n");
}

TEST_F(SendTool, NoteSendsThePictureAndTheReplaceFlag)
{
    const std::string picture = WriteTempFile("note.bin", 5000);
    RunResult r = RunSend(To({"note", picture, "--replace"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = RunSend(To({"note", picture}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto msgs = proc.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].json, "{\"79\":1,\"pub_MsgID\":305}\n");
    EXPECT_EQ(msgs[0].attachLen, 5000);
    EXPECT_EQ(msgs[1].json, "{\"pub_MsgID\":305}\n");
}

TEST_F(SendTool, ClearSendsItsMessageAndWaitsForTheClose)
{
    const RunResult r = RunSend(To({"clear"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(proc.Messages().size(), 1u);
    EXPECT_EQ(proc.Messages()[0].id, MSGID_CLEAR);
    EXPECT_TRUE(proc.WaitForClosed(1));
}

TEST_F(SendTool, RawSendsTheObjectWithItsAttachmentAndPrintsAnyReply)
{
    const std::string attach = WriteTempFile("raw.bin", 120);
    RunResult r = RunSend(To({"raw", R"({"pub_MsgID":400,"5":"x"})", "--attach", attach}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = RunSend(To({"raw", R"({"pub_MsgID":309})"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n");
    const auto msgs = proc.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].json, "{\"5\":\"x\",\"pub_MsgID\":400}\n");
    EXPECT_EQ(msgs[0].attachLen, 120);
}

TEST(SendToolAlone, UnreachableDisplayFailsWithOneLine)
{
    // A port that was free a moment ago and has nobody listening.
    int freePort = 0;
    {
        RecordingProc proc;
        CIOCPclass2016BC probe;
        ASSERT_EQ(probe.CreateField(0, &proc), 1);
        freePort = probe.ListeningPort();
    }
    const RunResult r = RunSend({"--port", std::to_string(freePort), "size"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("cannot reach"), std::string::npos) << r.err;
}

TEST(SendToolAlone, HelpListsEveryCommandAndOption)
{
    const RunResult r = RunSend({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* word :
         {"clear", "round", "note", "size", "raw", "--host", "--port", "--title", "--subtitle", "--remaining",
          "--length", "--boards", "--caption", "--bar-top", "--clock-x", "--clock-y", "--clock-height",
          "--clock-box", "--title-colour", "--clock-colour", "--overtime-colour", "--lang", "--picture",
          "--replace", "--attach"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

struct BadUsage {
    const char* name;
    std::vector<std::string> args;
};

class SendToolUsage : public SendTool, public testing::WithParamInterface<BadUsage> {};

TEST_P(SendToolUsage, FailsWithOneLineAndSendsNothing)
{
    const RunResult r = RunSend(To(GetParam().args));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_TRUE(proc.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendToolUsage,
    testing::Values(BadUsage{"NoCommand", {}}, BadUsage{"UnknownCommand", {"paint"}},
                    BadUsage{"UnknownOption", {"size", "--colour"}}, BadUsage{"PortNotANumber", {"--port", "x", "size"}},
                    BadUsage{"MissingValue", {"round", "--title"}}, BadUsage{"RoundOptionOnClear", {"clear", "--title", "A"}},
                    BadUsage{"ColourOutOfRange", {"round", "--clock-colour", "300,0,0"}},
                    BadUsage{"ColourWithTwoParts", {"round", "--clock-colour", "1,2"}},
                    BadUsage{"NumberWithText", {"round", "--remaining", "10s"}}, BadUsage{"NoteWithoutFile", {"note"}},
                    BadUsage{"ExtraArgument", {"size", "now"}}, BadUsage{"RawNotAnObject", {"raw", "[309]"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadFile {
    const char* name;
    std::vector<std::string> args;
};

class SendToolFiles : public SendTool, public testing::WithParamInterface<BadFile> {};

TEST_P(SendToolFiles, FailsWithOneLineAndSendsNothing)
{
    const RunResult r = RunSend(To(GetParam().args));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_TRUE(proc.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendToolFiles,
                         testing::Values(BadFile{"MissingNote", {"note", "/nonexistent/picture.png"}},
                                         BadFile{"MissingPicture", {"round", "--picture", "/nonexistent/p.png"}},
                                         BadFile{"NoteTooSmallToBeAPicture", {"note", WriteTempFile("tiny.bin", 99)}},
                                         BadFile{"MissingAttachment", {"raw", "{}", "--attach", "/nonexistent"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
