// Start-up pieces: the one-copy lock and its message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

#include "core/single_instance.h"
#include "os/message_box.h"

namespace {

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
    EXPECT_EQ(SingleInstanceLock::LockName(), (m_dir / "SingleClientFlag-Pavlune.lock").string());
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
    const std::string path = SingleInstanceLock::LockName();
    EXPECT_NE(path.find("SingleClientFlag-Pavlune-" + std::to_string(getuid()) + ".lock"), std::string::npos) << path;
    setenv("XDG_RUNTIME_DIR", (m_dir / "not-there").c_str(), 1);
    EXPECT_EQ(SingleInstanceLock::LockName(), path) << "a runtime dir that does not exist is not used";
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
