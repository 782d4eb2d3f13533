#include "sound_player.h"

CSoundPlayer::CSoundPlayer(SoundClip clip, std::unique_ptr<SoundOutput> output, LogLine log, LogLine rung)
    : m_clip(std::move(clip)),
      m_pOutput(std::move(output)),
      m_log(std::move(log)),
      m_rung(std::move(rung)),
      m_thread([this] { Run(); })
{
}

CSoundPlayer::~CSoundPlayer()
{
    {
        const std::lock_guard lock(m_mtx);
        m_bStopping = true;
    }
    m_bCutShort.store(true);
    m_cvWork.notify_one();
    m_thread.join();
}

void CSoundPlayer::Ring()
{
    {
        const std::lock_guard lock(m_mtx);
        if (m_bStopping || m_nPending >= kMaxPending) return;
        ++m_nPending;
    }
    m_cvWork.notify_one();
}

void CSoundPlayer::Run()
{
    bool bFailureLogged = false;
    for (;;) {
        {
            std::unique_lock lock(m_mtx);
            m_cvWork.wait(lock, [this] { return m_bStopping || m_nPending > 0; });
            if (m_bStopping) return;
            --m_nPending;
        }
        if (m_rung) m_rung("bell rung: " + m_clip.name + ", " + std::to_string(m_clip.Frames()) + " frames");
        std::string strError;
        if (m_pOutput->Play(m_clip, m_bCutShort, strError)) {
            bFailureLogged = false;
        } else if (!bFailureLogged) {
            bFailureLogged = true;
            if (m_log) m_log("no sound device (" + strError + "); the display carries on without sound");
        }
    }
}
