// The player's thread and queue, played through an output that the test holds and
// releases, so the order of events is fixed without sleeping.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "sound/sound_player.h"

namespace {

// Only a guard against a hang; nothing here is timed.
constexpr auto kPatience = std::chrono::seconds(20);

// What the output heard; owned by the test, so it outlives the player and its output.
class HeldOutput {
public:
    bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError)
    {
        std::unique_lock lock(m_mtx);
        ++m_nStarted;
        m_bytesHeard = clip.bytes;
        m_cv.notify_all();
        // The stop comes without a notification, as for the real output: look now and then.
        while (!m_cv.wait_for(lock, std::chrono::milliseconds(5),
                              [&] { return m_nReleased >= m_nStarted || stop.load(); })) {
        }
        if (stop.load()) m_bSawStop = true;
        if (m_nFailures > 0) {
            --m_nFailures;
            strError = "Connection refused";
            return false;
        }
        return true;
    }

    // Lets the sounds started so far, and `more` still to come, finish.
    void Release(int more = 0)
    {
        const std::lock_guard lock(m_mtx);
        m_nReleased = m_nStarted + more;
        m_cv.notify_all();
    }
    bool WaitStarted(int n)
    {
        std::unique_lock lock(m_mtx);
        return m_cv.wait_for(lock, kPatience, [&] { return m_nStarted >= n; });
    }
    int Started()
    {
        const std::lock_guard lock(m_mtx);
        return m_nStarted;
    }
    void FailNext(int n)
    {
        const std::lock_guard lock(m_mtx);
        m_nFailures = n;
    }

    std::mutex m_mtx;
    std::condition_variable m_cv;
    int m_nStarted = 0;
    int m_nReleased = 0;
    int m_nFailures = 0;
    bool m_bSawStop = false;
    std::vector<std::uint8_t> m_bytesHeard;
};

class OutputSeam : public SoundOutput {
public:
    explicit OutputSeam(HeldOutput& held) : m_held(held) {}
    bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError) override
    {
        return m_held.Play(clip, stop, strError);
    }

private:
    HeldOutput& m_held;
};

SoundClip SmallClip()
{
    SoundClip clip;
    clip.bytes = {1, 2, 3, 4};   // two frames of 16-bit mono
    clip.name = "铃声.wav";
    return clip;
}

struct PlayerUnderTest {
    PlayerUnderTest()
    {
        pPlayer = std::make_unique<CSoundPlayer>(SmallClip(), std::make_unique<OutputSeam>(output),
                                                 [this](const std::string& line) {
                                                     const std::lock_guard lock(mtxLog);
                                                     log.push_back(line);
                                                 },
                                                 [this](const std::string& line) {
                                                     const std::lock_guard lock(mtxLog);
                                                     rung.push_back(line);
                                                 });
    }
    std::vector<std::string> Log()
    {
        const std::lock_guard lock(mtxLog);
        return log;
    }
    std::vector<std::string> Rung()
    {
        const std::lock_guard lock(mtxLog);
        return rung;
    }
    HeldOutput output;
    HeldOutput* pOutput = &output;
    std::mutex mtxLog;
    std::vector<std::string> log;
    std::vector<std::string> rung;
    std::unique_ptr<CSoundPlayer> pPlayer;
};

TEST(SoundPlayer, PlaysTheClipForARingAndKeepsAtMostTwoWaitingWhileOnePlays)
{
    PlayerUnderTest t;
    t.pPlayer->Ring();
    ASSERT_TRUE(t.pOutput->WaitStarted(1));
    EXPECT_EQ(t.pOutput->m_bytesHeard, SmallClip().bytes);

    // The output is busy: these return at once, and only two of them are kept.
    for (int i = 0; i < 10; ++i) t.pPlayer->Ring();
    t.pOutput->Release(CSoundPlayer::kMaxPending);
    ASSERT_TRUE(t.pOutput->WaitStarted(1 + CSoundPlayer::kMaxPending));
    t.pOutput->Release();

    // With the queue drained a new ring plays again; the dropped eight never do.
    t.pPlayer->Ring();
    ASSERT_TRUE(t.pOutput->WaitStarted(2 + CSoundPlayer::kMaxPending));
    t.pOutput->Release();
    t.pPlayer.reset();
    EXPECT_EQ(t.pOutput->Started(), 2 + CSoundPlayer::kMaxPending);
    EXPECT_TRUE(t.Log().empty());
    // Each sound handed to the output, and only those, is told as it goes.
    EXPECT_EQ(t.Rung(), std::vector<std::string>(2 + CSoundPlayer::kMaxPending, "bell rung: 铃声.wav, 2 frames"));
}

TEST(SoundPlayer, NoSoundDeviceIsLoggedOnceUntilASoundHasPlayed)
{
    PlayerUnderTest t;
    t.pOutput->FailNext(3);
    t.pOutput->Release(100);
    for (int n = 1; n <= 3; ++n) {
        t.pPlayer->Ring();
        ASSERT_TRUE(t.pOutput->WaitStarted(n));
    }
    t.pPlayer->Ring();   // plays
    ASSERT_TRUE(t.pOutput->WaitStarted(4));
    t.pOutput->FailNext(1);
    t.pPlayer->Ring();   // fails again after a success: worth a line
    ASSERT_TRUE(t.pOutput->WaitStarted(5));
    t.pPlayer.reset();   // joins, so every line has been written

    const std::vector<std::string> log = t.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(t.Rung().size(), 5u);   // a sound that failed was still handed over
    EXPECT_NE(log[0].find("no sound device"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("Connection refused"), std::string::npos) << log[0];
}

TEST(SoundPlayer, EndingCutsTheSoundShortAndDropsWaitingOnes)
{
    PlayerUnderTest t;
    t.pPlayer->Ring();
    ASSERT_TRUE(t.pOutput->WaitStarted(1));
    t.pPlayer->Ring();
    t.pPlayer->Ring();
    // The output never releases this sound itself: only the stop can end it.
    t.pPlayer.reset();
    EXPECT_TRUE(t.pOutput->m_bSawStop);
    EXPECT_EQ(t.pOutput->Started(), 1);
}

}  // namespace
