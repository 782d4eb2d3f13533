// When the desk asks a room what, and what it makes of the answers, moved along a clock
// the test holds.
#include <gtest/gtest.h>


#include "room_watch.h"
#include "status_read.h"

namespace {

using namespace std::chrono_literals;


Json::Value RoundStatus(const char* title, int remaining)
{
    return ParsedJson(std::string(R"({"pub_MsgID":923,"shown":"round page","screen":{"width":800,"height":450,"fullScreen":true},)") +
                  R"("round":{"title":")" + title + R"(","remaining":)" + std::to_string(remaining) +
                  R"(},"uptime":)" + std::to_string(1000 - remaining) + R"(,"messages":{"303":1}})");
}

std::shared_ptr<const RoomPicture> Picture() { return std::make_shared<RoomPicture>(); }

TEST(RoomWatchTest, AsksStatusEveryPeriodAndAPictureWhenTheScreenChangesOrAges)
{
    const SteadyTime t0{std::chrono::hours(1)};
    RoomWatch watch;
    EXPECT_EQ(watch.Due(t0), RoomJob::Status);  // a new room is asked at once
    watch.OnAsked(RoomJob::Status, t0);
    EXPECT_FALSE(watch.Due(t0).has_value());  // one request at a time per room
    watch.OnStatus(RoundStatus("Round 3", 300), t0 + 10ms);
    EXPECT_EQ(watch.Due(t0 + 10ms), RoomJob::Picture);  // the first answer brings a picture
    watch.OnAsked(RoomJob::Picture, t0 + 10ms);
    watch.OnPicture(Picture(), t0 + 50ms);
    EXPECT_FALSE(watch.Due(t0 + 1s).has_value());
    EXPECT_EQ(watch.Due(t0 + 2s), RoomJob::Status);
    EXPECT_EQ(watch.NextDue(), t0 + 2s);

    // The clock running on is no change of the screen: no new picture for it.
    watch.OnAsked(RoomJob::Status, t0 + 2s);
    watch.OnStatus(RoundStatus("Round 3", 298), t0 + 2s);
    EXPECT_EQ(watch.Due(t0 + 2s), std::nullopt);
    // A new round is.
    watch.OnAsked(RoomJob::Status, t0 + 4s);
    watch.OnStatus(RoundStatus("Round 4", 600), t0 + 4s);
    EXPECT_EQ(watch.Due(t0 + 4s), RoomJob::Picture);
    watch.OnAsked(RoomJob::Picture, t0 + 4s);
    watch.OnPicture(Picture(), t0 + 4s);
    EXPECT_EQ(watch.nPictureVersion, 2u);
    // Nothing changing, the picture is still renewed after its period.
    EXPECT_EQ(watch.Due(t0 + 6s), RoomJob::Status);
    watch.OnAsked(RoomJob::Status, t0 + 6s);
    watch.OnStatus(RoundStatus("Round 4", 598), t0 + 6s);
    EXPECT_EQ(watch.Due(t0 + 14s), RoomJob::Picture);
}

TEST(RoomWatchTest, NotAnsweringFromTheFirstFailureUntilItAnswersAgain)
{
    const SteadyTime t0{std::chrono::hours(1)};
    RoomWatch watch;
    watch.OnAsked(RoomJob::Status, t0);
    watch.OnStatus(RoundStatus("Round 3", 300), t0);
    watch.OnAsked(RoomJob::Picture, t0);
    watch.OnPicture(Picture(), t0);

    watch.OnAsked(RoomJob::Status, t0 + 2s);
    watch.OnFailure("cannot reach the display", t0 + 2s, 1000);
    EXPECT_EQ(watch.state, RoomState::NotAnswering);
    EXPECT_EQ(watch.since, 1000);
    EXPECT_NE(watch.picture, nullptr);  // the last picture stays, shown as old
    // Asked again a period later, and "since" stays the first failure's.
    EXPECT_EQ(watch.Due(t0 + 4s), RoomJob::Status);
    watch.OnAsked(RoomJob::Status, t0 + 4s);
    watch.OnFailure("cannot reach the display", t0 + 4s, 1002);
    EXPECT_EQ(watch.since, 1000);

    watch.OnAsked(RoomJob::Status, t0 + 6s);
    watch.OnStatus(RoundStatus("Round 3", 294), t0 + 6s);
    EXPECT_EQ(watch.state, RoomState::Answering);
    EXPECT_TRUE(watch.reason.empty());
    EXPECT_EQ(watch.Due(t0 + 6s), RoomJob::Picture);  // back: its screen is asked at once
}

TEST(RoomWatchTest, AnOlderDisplayIsNeverAskedForAPicture)
{
    const SteadyTime t0{std::chrono::hours(1)};
    RoomWatch watch;
    watch.OnAsked(RoomJob::Status, t0);
    watch.OnOlder(t0);
    EXPECT_EQ(watch.state, RoomState::Older);
    EXPECT_FALSE(watch.Due(t0 + 1s).has_value());
    EXPECT_EQ(watch.Due(t0 + 2s), RoomJob::Status);
    EXPECT_EQ(watch.Due(t0 + 60s), RoomJob::Status);
}

TEST(RoomWatchTest, ShownKeyIgnoresWhatChangesEverySecondAndSurvivesAnyShape)
{
    EXPECT_EQ(ShownKey(RoundStatus("Round 3", 300)), ShownKey(RoundStatus("Round 3", 12)));
    EXPECT_NE(ShownKey(RoundStatus("Round 3", 300)), ShownKey(RoundStatus("Round 4", 300)));
    // The desk's own questions are counted among the messages too; they change nothing shown.
    EXPECT_EQ(ShownKey(ParsedJson(R"({"messages":{"303":1,"923":5}})")),
              ShownKey(ParsedJson(R"({"messages":{"303":1,"921":2,"923":6}})")));
    EXPECT_NE(ShownKey(ParsedJson(R"({"messages":{"303":1}})")), ShownKey(ParsedJson(R"({"messages":{"303":2}})")));
    // A status of the wrong shape from a peer reads as empty parts, never as a throw.
    for (const char* hostile : {R"({"round":5,"shown":[1],"screen":"x"})", R"({"round":{"title":{"a":1}}})", "[1,2]",
                                "\"text\"", "null"}) {
        EXPECT_NO_THROW(ShownKey(ParsedJson(hostile))) << hostile;
    }
}

TEST(PngSizeTest, ReadsTheHeaderOnlyOfAPng)
{
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                     0, 0, 3, 0x20, 0, 0, 1, 0xC2};
    EXPECT_EQ(PngSize(png), (std::pair<int, int>(800, 450)));
    png[1] = 'J';
    EXPECT_EQ(PngSize(png), std::nullopt);
    EXPECT_EQ(PngSize({}), std::nullopt);
    png[1] = 'P';
    png[16] = png[17] = png[18] = png[19] = 0;
    EXPECT_EQ(PngSize(png), std::nullopt);
}

}  // namespace
