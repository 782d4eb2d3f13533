// Start-up pieces: the command line, the one-copy lock and its message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "app/options.h"
#include "app/pavlune_app.h"
#include "app/single_instance.h"

namespace {

struct OptionCase {
    std::vector<std::string> args;
    const char* error;  // a part of the complaint, or "" when the line is fine
    AppOptions expected;
    std::vector<std::string> qtArgs;
};

AppOptions With(const std::function<void(AppOptions&)>& change)
{
    AppOptions o;
    change(o);
    return o;
}

class Options : public ::testing::TestWithParam<OptionCase> {};

TEST_P(Options, AreReadAsSpelled)
{
    std::vector<std::string> args{"pavlune"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const ParsedOptions parsed = ParseOptions(args);
    if (*GetParam().error != '\0') {
        EXPECT_NE(parsed.strError.find(GetParam().error), std::string::npos) << parsed.strError;
        return;
    }
    ASSERT_EQ(parsed.strError, "");
    const AppOptions& o = parsed.options;
    const AppOptions& e = GetParam().expected;
    EXPECT_EQ(o.nPort, e.nPort);
    EXPECT_EQ(o.bFullScreen, e.bFullScreen);
    EXPECT_EQ(o.nWidth, e.nWidth);
    EXPECT_EQ(o.nHeight, e.nHeight);
    EXPECT_EQ(o.strSnapshot, e.strSnapshot);
    EXPECT_EQ(o.bVerbose, e.bVerbose);
    std::vector<std::string> qtArgs{"pavlune"};
    qtArgs.insert(qtArgs.end(), GetParam().qtArgs.begin(), GetParam().qtArgs.end());
    EXPECT_EQ(parsed.qtArgs, qtArgs);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Options,
    ::testing::Values(
        OptionCase{{}, "", AppOptions{}, {}},
        OptionCase{{"--port", "0"}, "", With([](AppOptions& o) { o.nPort = 0; }), {}},
        OptionCase{{"--port", "65535", "--verbose"}, "", With([](AppOptions& o) { o.nPort = 65535; o.bVerbose = true; }), {}},
        OptionCase{{"--size", "1280x720", "--fullscreen"}, "",
                   With([](AppOptions& o) { o.nWidth = 1280; o.nHeight = 720; o.bFullScreen = true; }), {}},
        OptionCase{{"-platform", "offscreen", "--snapshot", "/tmp/s.png"}, "",
                   With([](AppOptions& o) { o.strSnapshot = "/tmp/s.png"; }), {"-platform", "offscreen"}},
        OptionCase{{"--port", "-1"}, "--port takes", {}, {}},
        OptionCase{{"--port", "99999"}, "--port takes", {}, {}},
        OptionCase{{"--port", "12ab"}, "--port takes", {}, {}},
        OptionCase{{"--port"}, "--port needs", {}, {}},
        OptionCase{{"--size", "0x100"}, "--size takes", {}, {}},
        OptionCase{{"--size", "100x"}, "--size takes", {}, {}},
        OptionCase{{"--size", "20000x100"}, "--size takes", {}, {}},
        OptionCase{{"--snapshot", ""}, "--snapshot needs", {}, {}},
        OptionCase{{"--snapshot"}, "--snapshot needs", {}, {}}));

class Lock : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pavlune-lock-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_oldRuntimeDir = old != nullptr ? old : "";
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override
    {
        setenv("XDG_RUNTIME_DIR", m_oldRuntimeDir.c_str(), 1);
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path m_dir;
    std::string m_oldRuntimeDir;
};

TEST_F(Lock, OneHolderPerSessionAndFreeAgainWhenItEnds)
{
    EXPECT_EQ(SingleInstanceLock::LockFilePath(), (m_dir / "SingleClientFlag-Pavlune.lock").string());
    {
        SingleInstanceLock first;
        ASSERT_TRUE(first.Acquire());
        SingleInstanceLock second;
        EXPECT_FALSE(second.Acquire());
    }
    SingleInstanceLock third;
    EXPECT_TRUE(third.Acquire());
}

TEST_F(Lock, WithoutARuntimeDirTheTempDirCarriesTheUserId)
{
    unsetenv("XDG_RUNTIME_DIR");
    const std::string path = SingleInstanceLock::LockFilePath();
    EXPECT_NE(path.find("SingleClientFlag-Pavlune-" + std::to_string(getuid()) + ".lock"), std::string::npos) << path;
    setenv("XDG_RUNTIME_DIR", (m_dir / "not-there").c_str(), 1);
    EXPECT_EQ(SingleInstanceLock::LockFilePath(), path) << "a runtime dir that does not exist is not used";
}

TEST_F(Lock, ASymbolicLinkInPlaceOfTheFileIsNotFollowed)
{
    const auto target = m_dir / "elsewhere";
    std::filesystem::create_symlink(target, m_dir / "SingleClientFlag-Pavlune.lock");
    SingleInstanceLock lock;
    EXPECT_TRUE(lock.Acquire()) << "a lock that cannot be made counts as the first copy";
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(AlreadyRunning, TextFollowsTheLanguage)
{
    EXPECT_EQ(AlreadyRunningText(0), u"Pavlune 已经运行.");
    EXPECT_EQ(AlreadyRunningText(1), u"Pavlune already running?");
}

}  // namespace
