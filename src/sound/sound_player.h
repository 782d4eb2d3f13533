#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sound/sound_clip.h"
#include "sound/sound_output.h"

// Plays one sound on a thread of its own whenever it is asked to ring, so no sound ever
// holds up painting or message handling.
//
// Owner: the main window. Ring may be called from any thread and never waits for the
// sound. Bound: at most kMaxPending rings wait while one plays; more are dropped, as a
// bell that can only sound much later tells the room nothing. The first failure to play
// (no sound device) is logged as one line and the display carries on silent; failures
// after it are not logged again until a sound has played. The destructor cuts a sound
// short, drops the waiting ones and joins the thread. Each sound handed to the output is
// told to `rung` first, so a room where nothing was heard can see whether the bell reached
// the sound system.
class CSoundPlayer {
public:
    static constexpr int kMaxPending = 2;
    using LogLine = std::function<void(const std::string&)>;

    CSoundPlayer(SoundClip clip, std::unique_ptr<SoundOutput> output, LogLine log, LogLine rung = {});
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;
    ~CSoundPlayer();

    void Ring();

private:
    void Run();

    const SoundClip m_clip;
    const std::unique_ptr<SoundOutput> m_pOutput;
    const LogLine m_log;
    const LogLine m_rung;
    std::mutex m_mtx;
    std::condition_variable m_cvWork;
    int m_nPending = 0;
    bool m_bStopping = false;
    std::atomic<bool> m_bCutShort{false};
    std::thread m_thread;
};
