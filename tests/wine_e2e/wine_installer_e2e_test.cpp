// The setup program, its uninstaller and the portable zip under Wine. Wine has no firewall:
// netsh.exe is replaced in the prefix by a recorder of its command lines.
#include <filesystem>
#include <fstream>
#include <set>

#include "wait_for.h"
#include "wine_desk.h"
#include "wine_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string kVersion = "7.26.36";
const std::string kUninstallKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pavlune";
const std::string kRunKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Prefix() { return std::getenv("WINEPREFIX"); }
std::string InstallDir() { return Prefix() + "/drive_c/Program Files/Pavlune"; }
std::string StartMenu() { return Prefix() + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"; }

std::set<std::string> FilesIn(const std::string& dir)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) names.insert(entry.path().filename().string());
    return names;
}

// The shortcut is there and starts the program: a shell link holds its target's path in
// the ANSI or the UTF-16 form.
bool LinkNames(const std::string& link, const std::string& program)
{
    const std::string bytes = ReadFile(link);
    std::string wide;
    for (const char c : program) wide += {c, '\0'};
    return bytes.find(program) != std::string::npos || bytes.find(wide) != std::string::npos;
}

class WineInstallerTest : public WineE2eTest {
protected:
    void SetUp() override
    {
        WineE2eTest::SetUp();
        // Whatever an earlier test left installed goes, so each starts from a clean system.
        Uninstall();
        const std::string netsh = Prefix() + "/drive_c/windows/system32/netsh.exe";
        fs::copy_file(WindowsProgram("tests/wine_tools/netsh_recorder.exe"), netsh,
                      fs::copy_options::overwrite_existing);
        netshRecord = scratch.Path() + "/netsh.txt";
    }
    void TearDown() override { Uninstall(); }

    EnvChanges SetupEnv() const
    {
        return {{"WINEDLLOVERRIDES", "mscoree,mshtml=;netsh.exe=n"}, {"PAVLUNE_NETSH_RECORD", WindowsPath(netshRecord)}};
    }

    ToolResult Install(const std::string& setup, const std::vector<std::string>& options = {})
    {
        std::vector<std::string> argv{"wine", setup, "/S"};
        argv.insert(argv.end(), options.begin(), options.end());
        return RunTool(argv, SetupEnv(), scratch.Path(), std::chrono::seconds(60));
    }

    // The uninstaller copies itself away and returns at once; done when the folder is gone.
    void Uninstall()
    {
        if (!fs::exists(InstallDir() + "/uninstall.exe")) return;
        RunTool({"wine", WindowsPath(InstallDir() + "/uninstall.exe"), "/S"}, SetupEnv(), scratch.Path());
        EXPECT_TRUE(WaitFor([] { return !fs::exists(InstallDir()); }, kDeadline)) << "still installed";
    }

    // The value as `reg query` shows it, or empty when there is none.
    std::string RegValue(const std::string& key, const std::string& name)
    {
        const ToolResult query = RunTool({"wine", "reg", "query", key, "/v", name}, {}, scratch.Path());
        if (query.nStatus != 0) return "";
        const std::size_t at = query.out.find("REG_");
        if (at == std::string::npos) return "";
        std::string value = query.out.substr(query.out.find_first_not_of(' ', query.out.find(' ', at)));
        return value.substr(0, value.find_first_of("\r\n"));
    }

    bool KeyExists(const std::string& key)
    {
        return RunTool({"wine", "reg", "query", key}, {}, scratch.Path()).nStatus == 0;
    }

    std::string netshRecord;
};

std::string SetupProgram() { return WindowsProgram("pavlune-setup-" + kVersion + ".exe"); }

}  // namespace

TEST_F(WineInstallerTest, SilentInstallPutsProgramShortcutsAndUninstallEntryInPlace)
{
    const ToolResult install = Install(SetupProgram());
    ASSERT_EQ(install.nStatus, 0) << install.err;
    EXPECT_EQ(FilesIn(InstallDir()), (std::set<std::string>{"pavlune.exe", "pavlune-send.exe", "pavlune-desk.exe",
                                                             "README.txt", "LICENSE.txt", "uninstall.exe"}));
    EXPECT_TRUE(fs::exists(StartMenu() + "/Pavlune.lnk"));
    EXPECT_TRUE(fs::exists(StartMenu() + "/Pavlune (full screen).lnk"));
    EXPECT_TRUE(LinkNames(StartMenu() + "/Pavlune desk.lnk", "pavlune-desk.exe"));
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayVersion"), kVersion);
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayName"), "Pavlune");
    EXPECT_EQ(RegValue(kUninstallKey, "QuietUninstallString"), "\"C:\\Program Files\\Pavlune\\uninstall.exe\" /S");
    EXPECT_NE(RegValue(kUninstallKey, "EstimatedSize"), "");
    EXPECT_EQ(RegValue(kRunKey, "Pavlune"), "") << "no start at logon unless asked for";
    // The firewall: any old rule of the name goes, then the rule for the installed program.
    EXPECT_EQ(ReadFile(netshRecord),
              "\"C:\\windows\\system32\\netsh.exe\" advfirewall firewall delete rule name=\"Pavlune\"\n"
              "\"C:\\windows\\system32\\netsh.exe\" advfirewall firewall add rule name=\"Pavlune\" dir=in "
              "action=allow program=\"C:\\Program Files\\Pavlune\\pavlune.exe\" protocol=TCP localport=9977 "
              "enable=yes\n");

    // The installed display answers the Linux sender.
    {
        WineDisplay installed({"--size", "640x400"}, scratch.Path(), {}, "installed",
                              InstallDir() + "/pavlune.exe");
        nPort = installed.WaitListening();
        ASSERT_NE(nPort, 0);
        EXPECT_EQ(SendTo({"size"}).out, "640x400\n");
    }
    ExpectDeskServesAndEndsOnCtrlC(InstallDir() + "/pavlune-desk.exe", scratch.Path());
}

TEST_F(WineInstallerTest, AutostartOptionAddsTheRunEntryWithFullScreen)
{
    ASSERT_EQ(Install(SetupProgram(), {"/AUTOSTART"}).nStatus, 0);
    EXPECT_EQ(RegValue(kRunKey, "Pavlune"), "\"C:\\Program Files\\Pavlune\\pavlune.exe\" --fullscreen");
    // An upgrade without it takes the start at logon away.
    ASSERT_EQ(Install(SetupProgram()).nStatus, 0);
    EXPECT_EQ(RegValue(kRunKey, "Pavlune"), "");
}

TEST_F(WineInstallerTest, UpgradeKeepsTheUsersDataAndUninstallLeavesNothingOfItsOwn)
{
    // An older build of the same setup.
    const std::string older = scratch.Path() + "/pavlune-setup-7.26.35.exe";
    const ToolResult made = RunTool({"makensis", "-V1", "-DVERSION=7.26.35",
                                     "-DSTAGE=" + std::string(std::getenv("PAVLUNE_WINDOWS_BUILD")) + "/stage",
                                     "-DOUTFILE=" + older,
                                     "-DICON=" + std::string(std::getenv("PAVLUNE_WINDOWS_BUILD")) + "/pavlune.ico",
                                     PAVLUNE_SOURCE_DIR "/packaging/windows/pavlune.nsi"},
                                    {}, scratch.Path(), std::chrono::seconds(120));
    ASSERT_EQ(made.nStatus, 0) << made.out << made.err;
    ASSERT_EQ(Install(WindowsPath(older), {"/AUTOSTART"}).nStatus, 0);
    ASSERT_EQ(RegValue(kUninstallKey, "DisplayVersion"), "7.26.35");

    // The user's configuration and saved pages.
    fs::create_directories(PrefixConfigDir());
    fs::create_directories(PrefixStateDir());
    std::ofstream(PrefixConfigDir() + "/pavlune.conf") << "warn=300\n";
    std::ofstream(PrefixStateDir() + "/pages.json") << "{}\n";

    ASSERT_EQ(Install(SetupProgram()).nStatus, 0);
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayVersion"), kVersion);
    EXPECT_EQ(ReadFile(PrefixConfigDir() + "/pavlune.conf"), "warn=300\n");
    EXPECT_EQ(ReadFile(PrefixStateDir() + "/pages.json"), "{}\n");

    std::ofstream(netshRecord, std::ios::trunc).close();
    Uninstall();
    EXPECT_FALSE(fs::exists(InstallDir()));
    EXPECT_FALSE(fs::exists(StartMenu() + "/Pavlune.lnk"));
    EXPECT_FALSE(fs::exists(StartMenu() + "/Pavlune (full screen).lnk"));
    EXPECT_FALSE(fs::exists(StartMenu() + "/Pavlune desk.lnk"));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_EQ(RegValue(kRunKey, "Pavlune"), "");
    EXPECT_EQ(ReadFile(netshRecord),
              "\"C:\\windows\\system32\\netsh.exe\" advfirewall firewall delete rule name=\"Pavlune\"\n");
    EXPECT_EQ(ReadFile(PrefixConfigDir() + "/pavlune.conf"), "warn=300\n");
    EXPECT_EQ(ReadFile(PrefixStateDir() + "/pages.json"), "{}\n");
}

TEST_F(WineE2eTest, PortableZipHoldsTheProgramsAndTheReadme)
{
    const std::string unpacked = scratch.Path() + "/zip";
    const ToolResult unzip = RunTool({"unzip", "-q", WindowsProgram("pavlune-" + kVersion + "-win64.zip"), "-d",
                                      unpacked}, {}, scratch.Path());
    ASSERT_EQ(unzip.nStatus, 0) << unzip.err;
    EXPECT_EQ(FilesIn(unpacked),
              (std::set<std::string>{"pavlune.exe", "pavlune-send.exe", "pavlune-desk.exe", "README.txt", "LICENSE.txt"}));
    // Lines ended for Notepad, and the start at logon by hand.
    const std::string readme = ReadFile(unpacked + "/README.txt");
    EXPECT_EQ(readme.rfind("Pavlune for Windows\r\n", 0), 0u);
    EXPECT_NE(readme.find("shell:startup"), std::string::npos);
    EXPECT_NE(readme.find("pavlune-desk.exe --room"), std::string::npos);

    WineDisplay display({"--size", "600x400"}, scratch.Path(), {}, "unzipped", unpacked + "/pavlune.exe");
    nPort = display.WaitListening();
    ASSERT_NE(nPort, 0) << display.Process().Stderr();
    EXPECT_EQ(SendTo({"size"}).out, "600x400\n");
    ExpectDeskServesAndEndsOnCtrlC(unpacked + "/pavlune-desk.exe", scratch.Path());
}
