#pragma once
#include <gtest/gtest.h>

#include <filesystem>

#include "pavlune_session.h"
#include "wine_display.h"

// Each test starts from a prefix without saved pages or configuration file, and with no
// display running: the copies of one prefix share the single-instance mutex.
class WineE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::error_code error;
        std::filesystem::remove_all(PrefixStateDir(), error);
        std::filesystem::remove_all(PrefixConfigDir(), error);
        ASSERT_FALSE(scratch.Path().empty());
    }

    // A display started and listening; fails the test when it does not listen in time.
    std::unique_ptr<WineDisplay> Start(const std::vector<std::string>& args, const EnvChanges& env = {},
                                       const std::string& name = "pavlune")
    {
        auto display = std::make_unique<WineDisplay>(args, scratch.Path(), env, name);
        nPort = display->WaitListening();
        EXPECT_NE(nPort, 0) << display->Process().Stderr();
        return display;
    }

    ToolResult SendTo(const std::vector<std::string>& args) { return Send(nPort, args, scratch.Path()); }

    ScratchDir scratch;
    int nPort = 0;
};
