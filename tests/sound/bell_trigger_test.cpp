// When the bell rings: each tick hands the trigger what the screen shows, and a counter
// stands in for the player behind the seam.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sound/bell_trigger.h"

namespace {

const DateTime kEndA = DateTime::FromLocal(2026, 3, 14, 16, 0, 0);
const DateTime kEndB = DateTime::FromLocal(2026, 3, 14, 16, 7, 0);
constexpr int kRound = 600;

// One tick: the remaining time of round A or B on the screen, or no round page shown.
struct Tick {
    char round;   // 'A', 'B' or '-' for nothing shown
    int remaining;
};

struct TriggerCase {
    const char* name;
    std::vector<int> stages;
    std::vector<Tick> ticks;
    // The tick indexes after which the bell must have rung once more.
    std::vector<int> ringsAfter;
};

class BellTrigger : public ::testing::TestWithParam<TriggerCase> {};

TEST_P(BellTrigger, RingsOnceForEachCrossingTheDisplaySaw)
{
    const TriggerCase& c = GetParam();
    int rings = 0;
    CBellTrigger trigger(c.stages, [&] { ++rings; });
    std::vector<int> ringTicks;
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
        const Tick& tick = c.ticks[i];
        const int before = rings;
        if (tick.round == '-') {
            trigger.OnTick(std::nullopt);
        } else {
            trigger.OnTick(RoundOnScreen{tick.round == 'A' ? kEndA : kEndB, kRound, tick.remaining});
        }
        ASSERT_LE(rings - before, 1) << "tick " << i;
        if (rings > before) ringTicks.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(ringTicks, c.ringsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Crossings, BellTrigger,
    ::testing::Values(
        TriggerCase{"each_stage_and_the_end_once", {300, 60},
                    {{'A', 302}, {'A', 301}, {'A', 300}, {'A', 299}, {'A', 61}, {'A', 60}, {'A', 60}, {'A', 1},
                     {'A', 0}, {'A', -1}, {'A', -400}},
                    {2, 5, 8}},
        TriggerCase{"no_stages_rings_only_at_the_end", {}, {{'A', 2}, {'A', 1}, {'A', 0}, {'A', -1}}, {2}},
        TriggerCase{"a_skipped_second_still_rings", {300}, {{'A', 301}, {'A', 299}, {'A', 1}, {'A', -1}}, {1, 3}},
        TriggerCase{"a_jump_over_two_stages_rings_once", {300, 60}, {{'A', 400}, {'A', 30}, {'A', 0}}, {1, 2}},
        TriggerCase{"page_arriving_inside_a_stage", {300}, {{'A', 250}, {'A', 249}, {'A', 248}, {'A', 0}}, {3}},
        TriggerCase{"new_page_inside_a_stage_after_one_outside", {300},
                    {{'A', 400}, {'B', 200}, {'B', 199}, {'B', 1}, {'B', 0}}, {4}},
        TriggerCase{"first_tick_exactly_at_a_stage", {300}, {{'A', 300}, {'A', 299}}, {}},
        TriggerCase{"restart_first_tick_at_the_end", {}, {{'A', 0}, {'A', -1}}, {}},
        TriggerCase{"clock_set_back_and_running_down_again", {300},
                    {{'A', 301}, {'A', 300}, {'A', 299}, {'A', 320}, {'A', 310}, {'A', 301}, {'A', 300},
                     {'A', 290}, {'A', 1}, {'A', 0}},
                    {1, 9}},
        TriggerCase{"clock_set_back_across_the_end", {},
                    {{'A', 1}, {'A', 0}, {'A', -5}, {'A', 10}, {'A', 1}, {'A', 0}, {'A', -2}}, {1}},
        TriggerCase{"not_shown_while_crossing", {300},
                    {{'A', 302}, {'A', 301}, {'-', 0}, {'A', 299}, {'A', 1}, {'A', 0}}, {5}},
        TriggerCase{"stage_longer_than_the_round", {900, 300},
                    {{'A', 700}, {'A', 601}, {'A', 600}, {'A', 301}, {'A', 300}}, {4}},
        TriggerCase{"not_begun_to_running", {}, {{'A', 605}, {'A', 600}, {'A', 599}}, {}}),
    [](const ::testing::TestParamInfo<TriggerCase>& info) { return std::string(info.param.name); });

}  // namespace
