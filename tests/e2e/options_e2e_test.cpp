// Options from the command line in both GNU spellings and from the configuration file,
// on the real program: the window's size answers for what it was given.
#include <filesystem>
#include <fstream>

#include "display_fixture.h"

namespace {

struct OptionSourceCase {
    const char* configText;  // nullptr: no configuration file
    std::vector<std::string> args;
    const char* expectedSize;  // the size reply, or nullptr when the start is refused
    const char* stderrHas;
};

class OptionSources : public DisplayTest, public ::testing::WithParamInterface<OptionSourceCase> {
protected:
    std::string WriteConfig(const char* text) const
    {
        const std::string dir = m_scratch.Path() + "/config/pavlune";
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/pavlune.conf") << text;
        return dir + "/pavlune.conf";
    }
};

TEST_P(OptionSources, DecideTheWindowAndThePort)
{
    const OptionSourceCase& c = GetParam();
    const std::string configPath = c.configText != nullptr ? WriteConfig(c.configText) : "";
    PavluneProcess display(c.args, DisplayEnv(), m_scratch.Path());
    if (c.expectedSize == nullptr) {
        EXPECT_EQ(display.Process().WaitExit(kDeadline), 2);
        const std::string err = display.Process().Stderr();
        EXPECT_NE(err.find(c.stderrHas), std::string::npos) << err;
        EXPECT_NE(err.find(configPath), std::string::npos) << "the complaint names the file: " << err;
        EXPECT_EQ(display.Process().Stdout().find("listening"), std::string::npos);
        return;
    }
    // Every case asks for port 0 one way or another: the default, 9977, is never announced.
    const int nPort = display.WaitListening();
    ASSERT_NE(nPort, 0) << display.Process().Stderr();
    EXPECT_NE(nPort, 9977);
    ToolResult reply;
    EXPECT_TRUE(WaitFor([&] {
        reply = Send(nPort, {"size"}, m_scratch.Path());
        return reply.out.find(c.expectedSize) != std::string::npos;
    }, kDeadline)) << "size reply: " << reply.out << reply.err;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLineAndFile, OptionSources,
    ::testing::Values(OptionSourceCase{nullptr, {"--port=0", "--size=400x300"}, "400x300", ""},
                      OptionSourceCase{nullptr, {"--port", "0", "--size", "400x300"}, "400x300", ""},
                      OptionSourceCase{"port=0\nsize=320x240\n", {}, "320x240", ""},
                      OptionSourceCase{"port=0\nsize=320x240\n", {"--size=400x300"}, "400x300", ""},
                      OptionSourceCase{"port=9\n", {"--port=0", "--size=400x300"}, "400x300", ""},
                      OptionSourceCase{"port=0\nsize=big\n", {}, nullptr, "--size takes WIDTHxHEIGHT"}));

}  // namespace
