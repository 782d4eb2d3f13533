// What a director may type as a room, and desk.conf read and written whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "desk_conf.h"
#include "room.h"

namespace {

struct AddressCase {
    const char* text;
    const char* host;  // null: refused
    int port;
    const char* whyHas;
};

class AddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressTest, ReadsHostAndPortOrSaysWhyNot)
{
    std::string why;
    const auto address = ParseAddress(GetParam().text, why);
    if (GetParam().host == nullptr) {
        ASSERT_FALSE(address.has_value());
        EXPECT_NE(why.find(GetParam().whyHas), std::string::npos) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos);
    } else {
        ASSERT_TRUE(address.has_value()) << why;
        EXPECT_EQ(address->host, GetParam().host);
        EXPECT_EQ(address->port, GetParam().port);
    }
}

INSTANTIATE_TEST_SUITE_P(Rooms, AddressTest, ::testing::Values(
    AddressCase{"192.168.1.20", "192.168.1.20", 9977, ""},
    AddressCase{" room-3.local:10000 ", "room-3.local", 10000, ""},
    AddressCase{"host:1", "host", 1, ""},
    AddressCase{"host:65535", "host", 65535, ""},
    AddressCase{"host:70000", nullptr, 0, "from 1 to 65535, not \"70000\""},
    AddressCase{"host:0", nullptr, 0, "from 1 to 65535"},
    AddressCase{"host:", nullptr, 0, "from 1 to 65535"},
    AddressCase{"host:99x", nullptr, 0, "from 1 to 65535"},
    AddressCase{"host:-5", nullptr, 0, "from 1 to 65535"},
    AddressCase{"host:000000009977", nullptr, 0, "from 1 to 65535"},
    AddressCase{"", nullptr, 0, "no host"},
    AddressCase{":9977", nullptr, 0, "no host"},
    AddressCase{"bad host", nullptr, 0, "letters, digits"},
    AddressCase{"a\nb", nullptr, 0, "letters, digits"}));

struct NameCase {
    const char* name;
    bool ok;
};

class NameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameTest, NameFitsACardAndALineOfTheFile)
{
    std::string why;
    EXPECT_EQ(CheckRoomName(GetParam().name, why), GetParam().ok) << why;
    EXPECT_EQ(why.empty(), GetParam().ok);
}

INSTANTIATE_TEST_SUITE_P(Rooms, NameTest, ::testing::Values(
    NameCase{"Room 1", true}, NameCase{"  二号厅 ", true}, NameCase{"", false}, NameCase{"   ", false},
    NameCase{"a=b", false}, NameCase{"# note", false}, NameCase{"[section]", false}, NameCase{"two\nlines", false},
    NameCase{"\xff\xfe", false},
    NameCase{"0123456789012345678901234567890123456789012345678901234567890123", true},
    NameCase{"01234567890123456789012345678901234567890123456789012345678901234", false}));

TEST(DeskConfTest, KeepsGoodLinesAndNamesEachBadOne)
{
    const DeskConf conf = ParseDeskConf("# rooms\r\n"
                                        "Room 1 = 192.168.1.21\r\n"
                                        "\n"
                                        "; old\n"
                                        "[rooms]\n"
                                        "二号厅=room2.local:10001\n"
                                        "no equals sign\n"
                                        "Far = host:70000\n"
                                        " = host\n");
    ASSERT_EQ(conf.rooms.size(), 2u);
    EXPECT_EQ(conf.rooms[0].name, "Room 1");
    EXPECT_EQ(conf.rooms[0].address, (RoomAddress{"192.168.1.21", 9977}));
    EXPECT_EQ(conf.rooms[1].name, "二号厅");
    EXPECT_EQ(conf.rooms[1].address, (RoomAddress{"room2.local", 10001}));
    ASSERT_EQ(conf.problems.size(), 3u);
    EXPECT_EQ(conf.problems[0].rfind("line 7: ", 0), 0u) << conf.problems[0];
    EXPECT_EQ(conf.problems[1].rfind("line 8: ", 0), 0u) << conf.problems[1];
    EXPECT_EQ(conf.problems[2].rfind("line 9: ", 0), 0u) << conf.problems[2];
}

TEST(DeskConfTest, StopsAtTheRoomLimit)
{
    std::string text;
    for (std::size_t i = 0; i <= kMaxRooms; ++i) text += "Room " + std::to_string(i) + " = host\n";
    const DeskConf conf = ParseDeskConf(text);
    EXPECT_EQ(conf.rooms.size(), kMaxRooms);
    EXPECT_EQ(conf.problems.size(), 1u);
}

TEST(DeskConfTest, WrittenWholeIntoAMissingFolderAndReadBackTheSame)
{
    const auto dir = std::filesystem::temp_directory_path() / ("desk_conf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir);
    const std::string path = (dir / "pavlune" / "desk.conf").string();
    EXPECT_TRUE(ReadDeskConf(path).bMissing);
    const std::vector<Room> rooms = {{"Room 1", {"192.168.1.21", 9977}}, {"二号厅", {"room2.local", 10001}}};
    std::string error;
    ASSERT_TRUE(WriteDeskConf(path, rooms, error)) << error;
    const DeskConf back = ReadDeskConf(path);
    EXPECT_TRUE(back.problems.empty());
    ASSERT_EQ(back.rooms.size(), 2u);
    EXPECT_EQ(back.rooms[1].name, "二号厅");
    EXPECT_EQ(back.rooms[1].address, rooms[1].address);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "pavlune"), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(DeskConfTest, AFolderInPlaceOfTheFileIsAProblemNotRooms)
{
    const auto dir = std::filesystem::temp_directory_path() / "desk_conf_folder";
    std::filesystem::create_directories(dir / "desk.conf");
    const DeskConf conf = ReadDeskConf((dir / "desk.conf").string());
    EXPECT_TRUE(conf.rooms.empty());
    EXPECT_FALSE(conf.bMissing);
    EXPECT_EQ(conf.problems.size(), 1u);
    std::string error;
    EXPECT_FALSE(WriteDeskConf((dir / "desk.conf").string(), {{"A", {"host", 9977}}}, error));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "desk.conf"));
    std::filesystem::remove_all(dir);
}

}  // namespace
