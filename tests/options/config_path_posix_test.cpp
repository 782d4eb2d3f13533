// Where the configuration file is looked for on POSIX systems.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "options/options.h"

namespace {

TEST(ConfigFile, FollowsTheBaseDirectoryRules)
{
    const auto withEnv = [](const char* configHome, const char* home) {
        setenv("HOME", home, 1);
        if (configHome != nullptr) {
            setenv("XDG_CONFIG_HOME", configHome, 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        return ConfigFilePath();
    };
    const char* oldHome = std::getenv("HOME");
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    const std::optional<std::string> savedConfig = oldConfig != nullptr ? std::optional<std::string>(oldConfig) : std::nullopt;
    EXPECT_EQ(withEnv("/etc/x", "/home/u"), "/etc/x/pavlune/pavlune.conf");
    EXPECT_EQ(withEnv(nullptr, "/home/u"), "/home/u/.config/pavlune/pavlune.conf");
    EXPECT_EQ(withEnv("relative", "/home/u"), "/home/u/.config/pavlune/pavlune.conf");
    setenv("HOME", savedHome.c_str(), 1);
    if (savedConfig) {
        setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
