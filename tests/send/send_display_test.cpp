// pavlune-send against the real display program: what each command line leads to, and
// what the screens show.
#include <unistd.h>

#include <filesystem>

#include "send_fixture.h"

namespace {

struct OutcomeCase {
    const char* name;
    // "@name" stands for the file of that name in the suite's scratch directory.
    std::vector<std::string> args;
    Expected expected;
    const char* stdinFile = "";
};

const OutcomeCase kOutcomeCases[] = {
    {"Clear", {"clear"}, {0, "", ""}},
    {"Size", {"size"}, {0, "1920x1080\n", ""}},
    {"Round", {"round", "--length", "600", "--boards", "9-12", "--title", "Round 3"}, {0, "", ""}},
    {"RoundWithPicture", {"round", "--length=600", "--picture", "@photo.png"}, {0, "", ""}},
    {"Note", {"note", "@photo.png", "--replace"}, {0, "", ""}},
    {"NoteFromStandardInput", {"note", "-"}, {0, "", ""}, "photo.png"},
    {"NoteOfADirectory", {"note", "@folder"}, {1, "", "folder is a directory, not a file"}},
    {"NoteOfAMissingFile", {"note", "@missing.png"}, {1, "", "missing.png: No such file or directory"}},
    {"NoteOfADevice", {"note", "/dev/null"}, {1, "", "/dev/null is not a regular file"}},
    // A regular file whose reading fails, for root as for anyone: the sender's own memory at 0.
    {"NoteThatCannotBeRead", {"note", "/proc/self/mem"}, {1, "", "cannot read /proc/self/mem"}},
    {"NoteOfText", {"note", "@text.txt"}, {1, "", "text.txt is not a picture that can be decoded"}},
    {"NoteOfAnEmptyFile", {"note", "@empty.png"}, {1, "", "empty.png is empty, not a picture"}},
    {"NoteOfTextOnStandardInput", {"note", "-"}, {1, "", "standard input is not a picture"}, "text.txt"},
    {"RoundWithAPictureThatIsADirectory", {"round", "--length", "60", "--picture", "@folder"},
     {1, "", "folder is a directory"}},
    {"RawAskingTheSize", {"raw", "{\"pub_MsgID\":309}"}, {0, "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n", ""}},
    {"RawTheDisplayIgnores", {"raw", "{\"pub_MsgID\":400}"}, {0, "", ""}},
    {"RawWithAnAttachmentTheDisplayRefuses", {"raw", "{\"pub_MsgID\":400}", "--attach", "@tiny.bin"},
     {1, "", "fewer than 100"}},
    {"RawWithAMissingAttachment", {"raw", "{\"pub_MsgID\":400}", "--attach", "@missing.bin"},
     {1, "", "No such file or directory"}},
};

class SendToDisplay : public testing::TestWithParam<OutcomeCase> {
public:
    static void SetUpTestSuite()
    {
        s_scratch = std::make_unique<ScratchDir>();
        const std::string& dir = s_scratch->Path();
        WritePicture(dir, "photo.png", HalvesPicture(80, 120));
        WriteScratch(dir, "text.txt", std::string(500, 't'));
        WriteScratch(dir, "empty.png", "");
        WriteScratch(dir, "tiny.bin", std::string(50, 'b'));
        std::filesystem::create_directory(dir + "/folder");
        s_display = std::make_unique<DisplayProcess>(dir, "display", kDisplayWidth, kDisplayHeight);
    }
    static void TearDownTestSuite()
    {
        s_display.reset();
        s_scratch.reset();
    }

protected:
    static std::string Resolve(const std::string& arg)
    {
        return arg.starts_with("@") ? s_scratch->Path() + "/" + arg.substr(1) : arg;
    }

    static std::unique_ptr<ScratchDir> s_scratch;
    static std::unique_ptr<DisplayProcess> s_display;
};

std::unique_ptr<ScratchDir> SendToDisplay::s_scratch;
std::unique_ptr<DisplayProcess> SendToDisplay::s_display;

TEST_P(SendToDisplay, GivesItsStatusAndOneClearLine)
{
    ASSERT_NE(s_display->Port(), 0) << "the display did not start";
    std::vector<std::string> args{"--port", std::to_string(s_display->Port())};
    for (const std::string& a : GetParam().args) {
        args.push_back(Resolve(a));
    }
    const std::string stdinFile = *GetParam().stdinFile != '\0' ? Resolve(std::string("@") + GetParam().stdinFile) : "";
    ExpectOutcome(RunSend(args, {}, stdinFile), GetParam().expected);
    EXPECT_TRUE(s_display->Running());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendToDisplay, testing::ValuesIn(kOutcomeCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SendScreens : public testing::Test {
protected:
    ScratchDir m_scratch;
};

// The photo, scaled to the screen's height and centred, with black at both sides.
bool ShowsPortraitCentred(const QImage& shot, int width, int height)
{
    const int photoWidth = height * 800 / 1200;
    const int left = (width - photoWidth) / 2;
    if (shot.size() != QSize(width, height)) {
        return false;
    }
    for (const int y : {1, height / 2, height - 2}) {
        const bool ok = RgbAt(shot, 1, y) == 0 && RgbAt(shot, left - 2, y) == 0 &&
                        RgbAt(shot, left + 2, y) == 0xFF0000 && RgbAt(shot, width / 2 - 2, y) == 0xFF0000 &&
                        RgbAt(shot, width / 2 + 2, y) == 0x0000FF && RgbAt(shot, left + photoWidth - 2, y) == 0x0000FF &&
                        RgbAt(shot, left + photoWidth + 2, y) == 0 && RgbAt(shot, width - 2, y) == 0;
        if (!ok) {
            return false;
        }
    }
    return true;
}

TEST_F(SendScreens, AFittedPortraitPhotoShowsUndistortedInTheMiddle)
{
    DisplayProcess display(m_scratch.Path(), "display", 1920, 1080);
    ASSERT_NE(display.Port(), 0);
    const std::string photo = WritePicture(m_scratch.Path(), "portrait.png", HalvesPicture(800, 1200));
    ExpectOutcome(RunSend({"--port=" + std::to_string(display.Port()), "note", "--fit", photo}), {0, "", ""});
    EXPECT_TRUE(display.WaitForScreen([](const QImage& shot) { return ShowsPortraitCentred(shot, 1920, 1080); }));
}

TEST_F(SendScreens, EveryHostGetsTheMessageFittedToItsOwnScreen)
{
    DisplayProcess wide(m_scratch.Path(), "wide", 1920, 1080);
    DisplayProcess small(m_scratch.Path(), "small", 1280, 720);
    ASSERT_NE(wide.Port(), 0);
    ASSERT_NE(small.Port(), 0);
    const std::string hostWide = "127.0.0.1:" + std::to_string(wide.Port());
    const std::string hostSmall = "127.0.0.1:" + std::to_string(small.Port());

    ExpectOutcome(RunSend({"--host", hostWide, "--host=" + hostSmall, "size"}),
                  {0, hostWide + ": 1920x1080\n" + hostSmall + ": 1280x720\n", ""});

    const std::string photo = WritePicture(m_scratch.Path(), "portrait.png", HalvesPicture(800, 1200));
    ExpectOutcome(RunSend({"--host", hostWide, "--host", hostSmall, "note", "--fit", photo}),
                  {0, hostWide + ": done\n" + hostSmall + ": done\n", ""});
    EXPECT_TRUE(wide.WaitForScreen([](const QImage& shot) { return ShowsPortraitCentred(shot, 1920, 1080); }));
    EXPECT_TRUE(small.WaitForScreen([](const QImage& shot) { return ShowsPortraitCentred(shot, 1280, 720); }));
}

TEST_F(SendScreens, OneUnreachableHostFailsTheCommandButNotTheOthers)
{
    DisplayProcess display(m_scratch.Path(), "display", 1920, 1080);
    ASSERT_NE(display.Port(), 0);
    int deadPort = 0;
    {
        RecordingDisplay gone(1, 1);
        deadPort = gone.Port();
    }
    ASSERT_NE(deadPort, 0);
    const std::string good = "127.0.0.1:" + std::to_string(display.Port());
    const std::string dead = "127.0.0.1:" + std::to_string(deadPort);
    ExpectOutcome(RunSend({"--host", dead, "--host", good, "size"}),
                  {1, good + ": 1920x1080\n", "cannot reach the display at " + dead});
    ExpectOutcome(RunSend({"--host", dead, "clear"}), {1, "", "cannot reach the display at " + dead});
}

TEST_F(SendScreens, AnUnreadableNoteFailsWithItsReason)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root from reading";
    }
    const std::string path = WritePicture(m_scratch.Path(), "locked.png", HalvesPicture(80, 120));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    RecordingDisplay display(1920, 1080);
    ExpectOutcome(RunSend({"--port", std::to_string(display.Port()), "note", path}), {1, "", "Permission denied"});
    EXPECT_TRUE(display.Messages().empty());
}

}  // namespace
