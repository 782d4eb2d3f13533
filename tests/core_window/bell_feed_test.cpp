// The window's timer feeds the bell with the round it shows: the end of a round on the
// screen reaches the player behind the seam, whose output here only counts.
#include <gtest/gtest.h>

#include <atomic>

#include "fake_frame_fixture.h"
#include "os/clock.h"
#include "sound/sound_player.h"

namespace {

class CountingOutput : public SoundOutput {
public:
    explicit CountingOutput(std::atomic<int>& nPlays) : m_nPlays(nPlays) {}
    bool Play(const SoundClip&, const std::atomic<bool>&, std::string&) override
    {
        ++m_nPlays;
        return true;
    }

private:
    std::atomic<int>& m_nPlays;
};

class BellFeed : public FakeFrameTest {
protected:
    void SetUp() override
    {
        Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
        FakeFrameTest::SetUp();
        TimeSignals timeSignals;
        timeSignals.stages = {{60, RGB(255, 191, 0)}};
        timeSignals.strSound = "bell";
        m_pFrame->SetTimeSignals(timeSignals, std::make_unique<CSoundPlayer>(
                                                  SoundClip{}, std::make_unique<CountingOutput>(m_nPlays), nullptr));
    }
    void TearDown() override
    {
        m_pFrame.reset();
        Clock::UseSystemTime();
    }

    void ShowRound(int remaining)
    {
        ReceivedRound fields;
        fields.remainingSeconds = remaining;
        fields.roundSeconds = 600;
        const std::lock_guard lock(m_pFrame->Pages().Mutex());
        m_pFrame->Pages().AddRoundPage(fields);
    }

    // Lets the window's timer run a few ticks (it ticks every 100 ms).
    void Ticks() { ProcessEventsFor(350); }
    // The player plays on its own thread; only a guard against a hang, nothing is timed.
    bool PlaysReach(int n)
    {
        for (int i = 0; i < 400 && m_nPlays.load() < n; ++i) ProcessEventsFor(50);
        return m_nPlays.load() == n;
    }

    std::atomic<int> m_nPlays{0};
};

TEST_F(BellFeed, RoundOnTheScreenRingsAtItsStageAndItsEnd)
{
    ShowRound(61);
    Ticks();
    EXPECT_EQ(m_nPlays.load(), 0);
    Clock::Advance(1);
    Ticks();
    EXPECT_TRUE(PlaysReach(1));
    Clock::Advance(60);
    Ticks();
    EXPECT_TRUE(PlaysReach(2));

    // A new round that arrives inside the stage is taken as it is.
    ShowRound(30);
    Ticks();
    Clock::Advance(1);
    Ticks();
    m_pFrame.reset();   // joins the player: every ring asked for has been played
    EXPECT_EQ(m_nPlays.load(), 2);
}

}  // namespace
