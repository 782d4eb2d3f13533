#include "sound/device_output.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <string>

namespace {

// The sample formats of the extensible form: the wave format tag in the first field of
// the base GUID {xxxxxxxx-0000-0010-8000-00AA00389B71}.
constexpr GUID kSubtypePcm{WAVE_FORMAT_PCM, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kSubtypeFloat{WAVE_FORMAT_IEEE_FLOAT, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

int BitsPerSample(SoundClip::Format format)
{
    switch (format) {
    case SoundClip::Format::U8: return 8;
    case SoundClip::Format::S16LE: return 16;
    case SoundClip::Format::S24LE: return 24;
    case SoundClip::Format::S32LE:
    case SoundClip::Format::F32LE: return 32;
    }
    return 16;
}

// Plain PCM for what every device takes; the extensible form for 24 and 32 bits and for
// floating point, which the plain form does not describe exactly.
WAVEFORMATEXTENSIBLE WaveFormat(const SoundClip& clip)
{
    WAVEFORMATEXTENSIBLE fmt{};
    const int nBits = BitsPerSample(clip.format);
    fmt.Format.nChannels = static_cast<WORD>(clip.nChannels);
    fmt.Format.nSamplesPerSec = static_cast<DWORD>(clip.nRate);
    fmt.Format.wBitsPerSample = static_cast<WORD>(nBits);
    fmt.Format.nBlockAlign = static_cast<WORD>(clip.BytesPerFrame());
    fmt.Format.nAvgBytesPerSec = static_cast<DWORD>(clip.BytesPerSecond());
    if (nBits <= 16) {
        fmt.Format.wFormatTag = WAVE_FORMAT_PCM;
        return fmt;
    }
    fmt.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    fmt.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    fmt.Samples.wValidBitsPerSample = static_cast<WORD>(nBits);
    fmt.dwChannelMask = clip.nChannels == 1 ? SPEAKER_FRONT_CENTER : SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT;
    fmt.SubFormat = clip.format == SoundClip::Format::F32LE ? kSubtypeFloat : kSubtypePcm;
    return fmt;
}

std::string WaveOutError(MMRESULT nResult)
{
    char text[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextA(nResult, text, sizeof text) != MMSYSERR_NOERROR) {
        return "wave output error " + std::to_string(nResult);
    }
    return text;
}

class EventHandle {
public:
    EventHandle() : m_h(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~EventHandle()
    {
        if (m_h != nullptr) CloseHandle(m_h);
    }
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

// The open device with the clip queued on it; a stop or the end of the scope silences it,
// and the buffer is handed back before the device closes.
class QueuedClip {
public:
    QueuedClip(HWAVEOUT hWave, const SoundClip& clip) : m_hWave(hWave)
    {
        m_header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(clip.bytes.data()));
        m_header.dwBufferLength = static_cast<DWORD>(clip.bytes.size());
        m_nResult = waveOutPrepareHeader(m_hWave, &m_header, sizeof m_header);
        m_bPrepared = m_nResult == MMSYSERR_NOERROR;
        if (m_bPrepared) m_nResult = waveOutWrite(m_hWave, &m_header, sizeof m_header);
    }
    ~QueuedClip()
    {
        waveOutReset(m_hWave);
        if (m_bPrepared) waveOutUnprepareHeader(m_hWave, &m_header, sizeof m_header);
        waveOutClose(m_hWave);
    }
    QueuedClip(const QueuedClip&) = delete;
    QueuedClip& operator=(const QueuedClip&) = delete;

    MMRESULT Result() const { return m_nResult; }
    bool Done() const { return (m_header.dwFlags & WHDR_DONE) != 0; }

private:
    HWAVEOUT m_hWave;
    WAVEHDR m_header{};
    MMRESULT m_nResult = MMSYSERR_NOERROR;
    bool m_bPrepared = false;
};

}  // namespace

bool DeviceOutput::Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError)
{
    if (clip.bytes.empty()) return true;
    const EventHandle done;
    const WAVEFORMATEXTENSIBLE fmt = WaveFormat(clip);
    HWAVEOUT hWave = nullptr;
    const MMRESULT nOpen = waveOutOpen(&hWave, WAVE_MAPPER, &fmt.Format, reinterpret_cast<DWORD_PTR>(done.Get()), 0,
                                       CALLBACK_EVENT);
    if (nOpen != MMSYSERR_NOERROR) {
        strError = WaveOutError(nOpen);
        return false;
    }
    const QueuedClip queued(hWave, clip);
    if (queued.Result() != MMSYSERR_NOERROR) {
        strError = WaveOutError(queued.Result());
        return false;
    }
    while (!queued.Done() && !stop.load()) WaitForSingleObject(done.Get(), 50);
    return true;
}

std::unique_ptr<SoundOutput> MakeSoundOutput()
{
    return std::make_unique<DeviceOutput>();
}
