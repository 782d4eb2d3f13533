// Files named in any script: the Windows programs open, write and rename them under the
// names they were given, whatever the ANSI code page of the machine.
#include <QImage>
#include <QString>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "wait_for.h"
#include "wine_fixture.h"

namespace {

// A Chinese Windows whose command line keeps Chinese whole: the zh_CN.UTF-8 locale that
// tests/wine/run_e2e.sh compiled.
EnvChanges ChineseWindows()
{
    const char* locales = std::getenv("PAVLUNE_ZH_LOCPATH");
    return {{"LANG", "zh_CN.UTF-8"}, {"LC_ALL", "zh_CN.UTF-8"}, {"LOCPATH", locales != nullptr ? locales : ""}};
}

// One second of a square wave at 441 Hz, 16-bit mono at 44100 Hz.
void WriteTone(const std::string& path, std::int16_t amplitude)
{
    constexpr std::uint32_t kRate = 44100;
    std::string data;
    for (std::uint32_t i = 0; i < kRate; ++i) {
        const auto sample = static_cast<std::uint16_t>((i / 50) % 2 == 0 ? amplitude : -amplitude);
        data += static_cast<char>(sample & 0xFF);
        data += static_cast<char>(sample >> 8);
    }
    const auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    const auto le16 = [](std::uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    std::ofstream(path, std::ios::binary) << "RIFF" << le32(36 + static_cast<std::uint32_t>(data.size())) << "WAVE"
                                          << "fmt " << le32(16) << le16(1) << le16(1) << le32(kRate)
                                          << le32(kRate * 2) << le16(2) << le16(16) << "data"
                                          << le32(static_cast<std::uint32_t>(data.size())) << data;
}

}  // namespace

// What Wine puts out of a sound device cannot be recorded here reliably, so the bell is
// seen where the display hands it to the sound output: its line in the diagnostic log, echoed by
// --verbose, names the clip and its length.
TEST_F(WineE2eTest, ChineseWindowsWritesTheSnapshotAndRingsTheSoundNamedInChinese)
{
    const std::string folder = scratch.Path() + "/快照";
    std::filesystem::create_directories(folder);
    WriteTone(folder + "/铃声.wav", 20000);
    // A sound file that cannot be read ends the display at once; the snapshot, its
    // operations and the display's output all go to 快照/屏幕.*.
    const auto display = Start({"--size", "800x600", "--verbose", "--sound", WindowsPath(folder + "/铃声.wav")},
                               ChineseWindows(), "快照/屏幕");
    ASSERT_NE(nPort, 0);
    // The information screen names the sound file, read from the snapshot's operations.
    EXPECT_TRUE(display->WaitForText("铃声.wav", kDeadline).has_value())
        << ReadFile(display->SnapshotPath() + ".ops") << display->Process().Stderr();
    EXPECT_EQ(display->Snapshot().size(), QSize(800, 600));
    EXPECT_EQ(display->Process().Stderr().find("cannot write the snapshot"), std::string::npos);

    // The round ends two seconds on, and the bell rings: one second of 44100 Hz.
    ASSERT_EQ(SendTo({"round", "--title", "Round 5", "--remaining", "2", "--length", "600"}).nStatus, 0);
    EXPECT_TRUE(WaitFor([&] {
        return display->Process().Stderr().find("bell rung: 铃声.wav, 44100 frames") != std::string::npos;
    }, kDeadline)) << display->Process().Stderr();
}

// A user whose folders are named outside the ANSI code page. A logon gives a program
// %APPDATA% and %LOCALAPPDATA% from the registry's Volatile Environment, which Wine reads
// for every program started from outside, over the Unix environment.
class WineUserFoldersTest : public WineE2eTest {
protected:
    static constexpr const char* kFolder = "用户 Café";

    void SetUp() override
    {
        WineE2eTest::SetUp();
        std::filesystem::remove_all(PrefixUserDir() + "/" + kFolder);
        ASSERT_TRUE(SetUserFolders(std::string(kFolder) + "\\\\Roaming", std::string(kFolder) + "\\\\Local"));
    }
    void TearDown() override
    {
        EXPECT_TRUE(SetUserFolders("AppData\\\\Roaming", "AppData\\\\Local"));
        std::filesystem::remove_all(PrefixUserDir() + "/" + kFolder);
    }

    // Both folders, under the user's own folder of the prefix; regedit reads its file as
    // UTF-16, with every backslash of a value doubled.
    bool SetUserFolders(const std::string& roaming, const std::string& local)
    {
        const std::string home = "C:\\\\users\\\\" + PrefixUserName() + "\\\\";
        const QString text = QString::fromStdString(
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Volatile Environment]\r\n"
            "\"APPDATA\"=\"" + home + roaming + "\"\r\n"
            "\"LOCALAPPDATA\"=\"" + home + local + "\"\r\n");
        const std::string file = scratch.Path() + "/folders.reg";
        const std::u16string utf16 = u"\uFEFF" + text.toStdU16String();
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(utf16.data()),
                                                    static_cast<std::streamsize>(utf16.size() * 2));
        return RunTool({"wine", "regedit", "/S", WindowsPath(file)}, {}, scratch.Path()).nStatus == 0;
    }
};

TEST_F(WineUserFoldersTest, PagesComeBackAndTheConfigurationIsRead)
{
    const std::string configDir = PrefixUserDir() + "/" + kFolder + "/Roaming/Pavlune";
    const std::string stateFile = PrefixUserDir() + "/" + kFolder + "/Local/Pavlune/pages.state";
    std::filesystem::create_directories(configDir);
    std::ofstream(configDir + "/pavlune.conf") << "size=700x500\n";
    {
        const auto display = Start({});
        EXPECT_EQ(SendTo({"size"}).out, "700x500\n");
        ASSERT_EQ(SendTo({"round", "--title", "第 7 轮", "--length", "600", "--remaining", "400"}).nStatus, 0);
        ASSERT_TRUE(display->WaitForText("第 7 轮", kDeadline).has_value());
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(stateFile); }, kDeadline))
            << display->Process().Stderr();
        display->Process().Signal(SIGKILL);
        display->Process().WaitExit(kDeadline);
    }
    const auto restarted = Start({}, {}, "restarted");
    EXPECT_EQ(SendTo({"size"}).out, "700x500\n");
    EXPECT_TRUE(restarted->WaitForText("第 7 轮", kDeadline).has_value())
        << ReadFile(restarted->SnapshotPath() + ".ops") << restarted->Process().Stderr();
    EXPECT_FALSE(std::filesystem::exists(PrefixStateDir()));
}

TEST_F(WineE2eTest, WindowsSenderReadsANoteAndWritesAScreenshotAtChineseNames)
{
    const auto display = Start({"--size", "640x400"});
    const std::string folder = scratch.Path() + "/图片 Café";
    std::filesystem::create_directories(folder);
    const QRgb colour = qRgb(18, 52, 86);
    QImage note(64, 40, QImage::Format_RGB32);
    note.fill(colour);
    ASSERT_TRUE(note.save(QString::fromStdString(folder + "/通知.png")));

    const std::string port = std::to_string(nPort);
    const ToolResult sent = RunTool({"wine", WindowsProgram("pavlune-send.exe"), "note", "--port", port,
                                     WindowsPath(folder + "/通知.png")}, {}, scratch.Path());
    ASSERT_EQ(sent.nStatus, 0) << sent.err;
    ASSERT_TRUE(WaitFor([&] { return ColourBox(display->Snapshot(), colour) == QRect(0, 0, 640, 400); }, kDeadline));
    const ToolResult shot = RunTool({"wine", WindowsProgram("pavlune-send.exe"), "screenshot", "--port", port,
                                     WindowsPath(folder + "/屏幕截图.png")}, {}, scratch.Path());
    ASSERT_EQ(shot.nStatus, 0) << shot.err;
    EXPECT_EQ(shot.out, "640x400\r\n");
    const QImage saved(QString::fromStdString(folder + "/屏幕截图.png"));
    ASSERT_EQ(saved.size(), QSize(640, 400));
    EXPECT_EQ(saved.pixel(320, 200) & 0xFFFFFFu, colour & 0xFFFFFFu);
}
