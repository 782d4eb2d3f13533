// The desk's words: the language the browser asks for, the line above the cards, and a
// JSON view that holds whatever a display sends.
#include <gtest/gtest.h>


#include "desk_texts.h"
#include "desk_view.h"
#include "status_read.h"

namespace {

struct LanguageCase {
    const char* header;
    DeskLanguage language;
};

class PickLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(PickLanguageTest, FollowsTheBrowsersWeights)
{
    EXPECT_EQ(PickLanguage(GetParam().header), GetParam().language) << GetParam().header;
}

INSTANTIATE_TEST_SUITE_P(Desk, PickLanguageTest, ::testing::Values(
    LanguageCase{"", DeskLanguage::English},
    LanguageCase{"zh-CN,zh;q=0.9,en;q=0.8", DeskLanguage::Chinese},
    LanguageCase{"en-US,en;q=0.9,zh-CN;q=0.8", DeskLanguage::English},
    LanguageCase{"fr-FR, fr;q=0.9, zh-TW;q=0.5", DeskLanguage::Chinese},
    LanguageCase{"de", DeskLanguage::English},
    LanguageCase{"en;q=0.3, ZH-hans;q=0.7", DeskLanguage::Chinese},
    LanguageCase{"zh;q=0, en;q=0.1", DeskLanguage::English},
    LanguageCase{";;;,,q=,zh;q=abc", DeskLanguage::English}));


RoomWatch Watch(RoomState state, const std::string& status = "{}")
{
    RoomWatch watch;
    watch.state = state;
    watch.status = std::make_shared<const Json::Value>(ParsedJson(status));
    return watch;
}

TEST(SummaryTest, CountsRoomsByRoundThenByKind)
{
    const std::string round3 = R"({"shown":"round page","round":{"title":"Round 3"}})";
    std::vector<RoomWatch> rooms(5, Watch(RoomState::Answering, round3));
    rooms.push_back(Watch(RoomState::NotAnswering));
    EXPECT_EQ(SummaryText(rooms, DeskLanguage::English), "6 rooms: 5 on Round 3, 1 not answering");
    EXPECT_EQ(SummaryText(rooms, DeskLanguage::Chinese), "6 个赛室：5 个在 Round 3，1 个无应答");

    const std::vector<RoomWatch> mixed = {
        Watch(RoomState::Answering, R"({"shown":"information screen"})"),
        Watch(RoomState::Answering, R"({"shown":"round page","round":{"title":"Round 4"}})"),
        Watch(RoomState::Answering, R"({"shown":"note","note":{"number":2,"count":3}})"),
        Watch(RoomState::Older), Watch(RoomState::Waiting),
        Watch(RoomState::Answering, R"({"shown":"round page","round":{"title":"Round 3"}})")};
    EXPECT_EQ(SummaryText(mixed, DeskLanguage::English),
              "6 rooms: 1 on Round 4, 1 on Round 3, 1 on the information screen, 1 showing notes, "
              "1 of an older version, 1 waiting");
    EXPECT_EQ(SummaryText({Watch(RoomState::NotAnswering)}, DeskLanguage::English), "1 room: 1 not answering");
    EXPECT_EQ(SummaryText({}, DeskLanguage::English), "No rooms yet: add one below");
}

TEST(CardTextTest, SaysWhatTheDisplayShowsAndHowItRuns)
{
    const Json::Value note = ParsedJson(R"({"shown":"note","note":{"number":2,"count":3},"version":"7.26.36",
        "platform":"Windows","restored":true,"screen":{"width":1920,"height":1080,"fullScreen":true}})");
    EXPECT_EQ(ShownText(note, DeskLanguage::English), "note 2 of 3");
    EXPECT_EQ(ShownText(note, DeskLanguage::Chinese), "通知 2/3");
    EXPECT_EQ(ScreenText(note, DeskLanguage::English), "1920x1080, full screen");
    EXPECT_EQ(RunsText(note, DeskLanguage::English), "Pavlune 7.26.36 on Windows, restored after a restart");
    EXPECT_EQ(ShownText(ParsedJson(R"({"shown":"information screen"})"), DeskLanguage::English), "information screen");
    EXPECT_EQ(StateText(Watch(RoomState::Older), DeskLanguage::English),
              "answers, but cannot show its screen (older version)");
    RoomWatch dark = Watch(RoomState::NotAnswering);
    dark.since = 0;
    EXPECT_EQ(StateText(dark, DeskLanguage::English), "not answering since " + ClockOf(0));
    EXPECT_EQ(ClockOf(0).size(), 8u);
}

TEST(RoomsViewTest, AStatusOfAnyShapeGivesAViewNeverAThrow)
{
    for (const char* hostile : {R"({"shown":5,"round":"Round 3","note":{"number":"x"},"screen":[1]})",
                                R"({"round":{"title":7,"remaining":"soon"},"version":{"a":1},"restored":"yes"})",
                                R"({"screen":{"width":1e300,"height":-1}})", "[]", "42"}) {
        std::vector<RoomWatch> rooms = {Watch(RoomState::Answering, hostile)};
        Json::Value view;
        ASSERT_NO_THROW(view = RoomsView(rooms, DeskLanguage::English, SteadyTime{}, true)) << hostile;
        EXPECT_EQ(view["rooms"].size(), 1u);
        EXPECT_NO_THROW(SummaryText(rooms, DeskLanguage::Chinese));
    }
}

TEST(PageTextsTest, EveryTextIsGivenInBothLanguages)
{
    const Json::Value english = PageTexts(DeskLanguage::English);
    const Json::Value chinese = PageTexts(DeskLanguage::Chinese);
    EXPECT_EQ(english.getMemberNames(), chinese.getMemberNames());
    for (const std::string& key : english.getMemberNames()) {
        EXPECT_FALSE(chinese[key].asString().empty()) << key;
        EXPECT_NE(english[key].asString(), chinese[key].asString()) << key;
    }
}

}  // namespace
