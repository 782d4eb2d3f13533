// The desk's command line: what it serves on when nothing is said, and the rooms it takes.
#include <gtest/gtest.h>

#include "desk_options.h"

namespace {

TEST(DeskOptionsTest, WithNothingGivenItServesThisComputerAloneOnItsPort)
{
    std::string why;
    const auto options = ParseDeskOptions({"pavlune-desk"}, why);
    ASSERT_TRUE(options.has_value()) << why;
    EXPECT_EQ(options->listen, "127.0.0.1");
    EXPECT_FALSE(options->bListenGiven);
    EXPECT_EQ(options->nPort, 9980);
    EXPECT_TRUE(options->bBrowser);
    EXPECT_TRUE(options->rooms.empty());
}

TEST(DeskOptionsTest, TakesRoomsInOrderAndTheRest)
{
    std::string why;
    const auto options = ParseDeskOptions({"pavlune-desk", "--room", "Room 1=192.168.1.21", "--room=二号厅=hall2:9978",
                                           "--listen", "0.0.0.0", "--port", "0", "--no-browser"}, why);
    ASSERT_TRUE(options.has_value()) << why;
    ASSERT_EQ(options->rooms.size(), 2u);
    EXPECT_EQ(options->rooms[0].name, "Room 1");
    EXPECT_EQ(options->rooms[0].address, (RoomAddress{"192.168.1.21", 9977}));
    EXPECT_EQ(options->rooms[1].name, "二号厅");
    EXPECT_EQ(options->rooms[1].address, (RoomAddress{"hall2", 9978}));
    EXPECT_TRUE(options->bListenGiven);
    EXPECT_EQ(options->nPort, 0);
    EXPECT_FALSE(options->bBrowser);
}

struct RefusedCase {
    std::vector<std::string> args;
    const char* whyHas;
};

class DeskOptionsRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(DeskOptionsRefusedTest, SaysWhyInOneLine)
{
    std::vector<std::string> args = {"pavlune-desk"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    std::string why;
    EXPECT_FALSE(ParseDeskOptions(args, why).has_value());
    EXPECT_NE(why.find(GetParam().whyHas), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(Desk, DeskOptionsRefusedTest, ::testing::Values(
    RefusedCase{{"--room", "192.168.1.21"}, "NAME=HOST[:PORT]"},
    RefusedCase{{"--room", "A=host:70000"}, "from 1 to 65535"},
    RefusedCase{{"--room", "=host"}, "no name"},
    RefusedCase{{"--room", "A=h1", "--room", "A=h2"}, "given twice"},
    RefusedCase{{"--port", "65536"}, "--port"},
    RefusedCase{{"--colour", "red"}, "colour"}));

}  // namespace
