// The program's options: the command line, the configuration file and the help text,
// from the one table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "net/net_block.h"
#include "options/options.h"
#include "os/file_path.h"
#include "scratch_dir.h"

namespace {

// A toolkit's own options, as a platform hands them to the table.
const HandOnOptions kToolkit{{"platform", "display"}, {"reverse"}};

struct OptionCase {
    std::vector<std::string> args;
    const char* configText;  // the configuration file; nullptr when there is none
    const char* error;       // a part of the complaint, or "" when all is fine
    AppOptions expected;
    std::vector<std::string> handedOn;
};

AppOptions With(const std::function<void(AppOptions&)>& change)
{
    AppOptions o;
    change(o);
    return o;
}

class Options : public ::testing::TestWithParam<OptionCase> {
protected:

    // Where the configuration file would be, written when the case has one.
    std::string ConfigPath() const
    {
        const std::filesystem::path path = m_dir.Path() / "pavlune.conf";
        if (GetParam().configText != nullptr) {
            std::ofstream(path) << GetParam().configText;
        }
        return Utf8FromPath(path);
    }

    // A user folder's name may be in any script, within the ANSI code page or not.
    ScratchDir m_dir{"pavlune-配置-Café-"};
};

TEST_P(Options, AreReadAsSpelled)
{
    std::vector<std::string> args{"pavlune"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const std::string configPath = ConfigPath();
    const ParsedOptions parsed = ParseOptions(args, configPath, kToolkit);
    if (*GetParam().error != '\0') {
        EXPECT_NE(parsed.strError.find(GetParam().error), std::string::npos) << parsed.strError;
        EXPECT_EQ(parsed.strError.find('\n'), std::string::npos) << "one line";
        if (GetParam().configText != nullptr && parsed.strError.find("--") != std::string::npos) {
            EXPECT_NE(parsed.strError.find(configPath), std::string::npos) << "a fault in the file names the file";
        }
        return;
    }
    ASSERT_EQ(parsed.strError, "");
    const AppOptions& o = parsed.options;
    const AppOptions& e = GetParam().expected;
    EXPECT_EQ(o.nPort, e.nPort);
    EXPECT_EQ(o.listenRules.address, e.listenRules.address);
    EXPECT_EQ(o.listenRules.allowed, e.listenRules.allowed);
    EXPECT_EQ(o.bFullScreen, e.bFullScreen);
    EXPECT_EQ(o.nWidth, e.nWidth);
    EXPECT_EQ(o.nHeight, e.nHeight);
    EXPECT_EQ(o.strSnapshot, e.strSnapshot);
    EXPECT_EQ(o.bVerbose, e.bVerbose);
    EXPECT_EQ(o.bHelp, e.bHelp);
    EXPECT_EQ(o.bVersion, e.bVersion);
    std::vector<std::string> handedOn{"pavlune"};
    handedOn.insert(handedOn.end(), GetParam().handedOn.begin(), GetParam().handedOn.end());
    EXPECT_EQ(parsed.handedOn, handedOn);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Options,
    ::testing::Values(
        OptionCase{{}, nullptr, "", AppOptions{}, {}},
        OptionCase{{"--port", "0"}, nullptr, "", With([](AppOptions& o) { o.nPort = 0; }), {}},
        OptionCase{{"--port=0"}, nullptr, "", With([](AppOptions& o) { o.nPort = 0; }), {}},
        OptionCase{{"--port", "1", "--port=2"}, nullptr, "", With([](AppOptions& o) { o.nPort = 2; }), {}},
        OptionCase{{"--port", "65535", "--verbose"}, nullptr, "",
                   With([](AppOptions& o) { o.nPort = 65535; o.bVerbose = true; }), {}},
        OptionCase{{"--size=1280x720", "--fullscreen"}, nullptr, "",
                   With([](AppOptions& o) { o.nWidth = 1280; o.nHeight = 720; o.bFullScreen = true; }), {}},
        OptionCase{{"-platform", "offscreen", "--snapshot", "/tmp/s.png"}, nullptr, "",
                   With([](AppOptions& o) { o.strSnapshot = "/tmp/s.png"; }), {"-platform", "offscreen"}},
        OptionCase{{"--platform=xcb", "-display", ":7", "-reverse"}, nullptr, "", AppOptions{},
                   {"-platform", "xcb", "-display", ":7", "-reverse"}},
        OptionCase{{"--listen", "::", "--allow=127.0.0.2", "--allow", "fd00::/8"}, nullptr, "",
                   With([](AppOptions& o) {
                       o.listenRules.address = ParseAddress("::");
                       o.listenRules.allowed = {*NetBlock::Parse("127.0.0.2"), *NetBlock::Parse("fd00::/8")};
                   }), {}},
        OptionCase{{"--listen=localhost"}, nullptr, "--listen takes an IPv4 or IPv6 address", {}, {}},
        OptionCase{{"--allow", "10.0.0.0/33"}, nullptr, "--allow takes an address or a CIDR block", {}, {}},
        OptionCase{{"-h"}, nullptr, "", With([](AppOptions& o) { o.bHelp = true; }), {}},
        OptionCase{{"-v"}, nullptr, "", With([](AppOptions& o) { o.bVersion = true; }), {}},
        // --help and --version answer even when the file is wrong.
        OptionCase{{"--help"}, "port=x\n", "", With([](AppOptions& o) { o.bHelp = true; }), {}},
        OptionCase{{"--port", "-1"}, nullptr, "--port takes", {}, {}},
        OptionCase{{"--port", "99999"}, nullptr, "--port takes", {}, {}},
        OptionCase{{"--port", "12ab"}, nullptr, "--port takes", {}, {}},
        OptionCase{{"--port="}, nullptr, "--port takes", {}, {}},
        OptionCase{{"--port"}, nullptr, "missing value after '--port'", {}, {}},
        OptionCase{{"--size", "0x100"}, nullptr, "--size takes", {}, {}},
        OptionCase{{"--size", "100x"}, nullptr, "--size takes", {}, {}},
        OptionCase{{"--size", "20000x100"}, nullptr, "--size takes", {}, {}},
        OptionCase{{"--snapshot", ""}, nullptr, "--snapshot takes a file name", {}, {}},
        OptionCase{{"--snapshot"}, nullptr, "missing value after '--snapshot'", {}, {}},
        OptionCase{{"--fullscreen=yes"}, nullptr, "unexpected value after '--fullscreen'", {}, {}},
        OptionCase{{"--frobnicate"}, nullptr, "unknown option \"--frobnicate\"", {}, {}},
        OptionCase{{"-x"}, nullptr, "unknown option \"-x\"", {}, {}},
        OptionCase{{"stray"}, nullptr, "unexpected argument \"stray\"", {}, {}}));

INSTANTIATE_TEST_SUITE_P(
    ConfigFiles, Options,
    ::testing::Values(
        OptionCase{{}, "", "", AppOptions{}, {}},
        OptionCase{{}, "port=0\nfullscreen=true\nsize=800x600\nverbose=on\n", "",
                   With([](AppOptions& o) { o.nPort = 0; o.bFullScreen = true; o.nWidth = 800; o.nHeight = 600;
                                            o.bVerbose = true; }), {}},
        OptionCase{{}, "[General]\nfullscreen=False\nsnapshot=/tmp/a,b.png\n", "",
                   With([](AppOptions& o) { o.strSnapshot = "/tmp/a,b.png"; }), {}},
        // The command line wins over the file, option by option.
        OptionCase{{"--port=5"}, "port=0\nverbose=true\n", "",
                   With([](AppOptions& o) { o.nPort = 5; o.bVerbose = true; }), {}},
        OptionCase{{"--port", "5"}, "port=x\n", "", With([](AppOptions& o) { o.nPort = 5; }), {}},
        OptionCase{{}, "allow=10.0.0.0/8,::1\nlisten=127.0.0.1\n", "",
                   With([](AppOptions& o) {
                       o.listenRules.address = ParseAddress("127.0.0.1");
                       o.listenRules.allowed = {*NetBlock::Parse("10.0.0.0/8"), *NetBlock::Parse("::1")};
                   }), {}},
        OptionCase{{}, "port=70000\n", "--port takes a number from 0 to 65535, not \"70000\" (in ", {}, {}},
        OptionCase{{}, "fullscreen=maybe\n", "--fullscreen takes true or false, not \"maybe\"", {}, {}},
        OptionCase{{}, "size=big\n", "--size takes", {}, {}},
        OptionCase{{}, "prot=1\n", "unknown option \"prot\"", {}, {}},
        OptionCase{{}, "[pavlune]\nport=1\n", "unknown option \"pavlune/port\"", {}, {}},
        OptionCase{{}, "help=true\n", "unknown option \"help\"", {}, {}}));

TEST(Usage, ListsEveryOptionWithItsDefault)
{
    const std::string text = UsageText("pavlune", PlatformHelp{{{"-platform NAME", "the toolkit's platform."}}, ""});
    EXPECT_EQ(text.rfind("Usage: pavlune [options]\n", 0), 0u) << text;
    for (const char* line : {"-h, --help", "-v, --version", "--port=N", "--fullscreen", "--size=WxH",
                             "--snapshot=FILE", "--verbose", "--listen=ADDRESS", "--allow=NET", "-platform NAME", "(default: 9977)",
                             "pavlune.conf"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 79u) << line;
    }
}

}  // namespace
