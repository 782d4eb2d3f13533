#include "sound/device_output.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <memory>

namespace {

pa_sample_format_t PulseFormat(SoundClip::Format format)
{
    switch (format) {
    case SoundClip::Format::U8: return PA_SAMPLE_U8;
    case SoundClip::Format::S16LE: return PA_SAMPLE_S16LE;
    case SoundClip::Format::S24LE: return PA_SAMPLE_S24LE;
    case SoundClip::Format::S32LE: return PA_SAMPLE_S32LE;
    case SoundClip::Format::F32LE: return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_S16LE;
}

struct SimpleCloser {
    void operator()(pa_simple* p) const { pa_simple_free(p); }
};

}  // namespace

bool DeviceOutput::Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError)
{
    const pa_sample_spec spec{PulseFormat(clip.format), static_cast<std::uint32_t>(clip.nRate),
                              static_cast<std::uint8_t>(clip.nChannels)};
    const std::size_t frame = clip.BytesPerFrame();
    const std::size_t slice = std::max<std::size_t>(1, clip.BytesPerSecond() / 20 / frame) * frame;
    const auto unset = static_cast<std::uint32_t>(-1);
    const pa_buffer_attr buffer{unset, static_cast<std::uint32_t>(2 * slice), unset, unset, unset};
    int nError = 0;
    const std::unique_ptr<pa_simple, SimpleCloser> stream(
        pa_simple_new(nullptr, "Pavlune", PA_STREAM_PLAYBACK, nullptr, "bell", &spec, nullptr, &buffer, &nError));
    if (!stream) {
        strError = pa_strerror(nError);
        return false;
    }
    for (std::size_t pos = 0; pos < clip.bytes.size(); pos += slice) {
        if (stop.load()) {
            pa_simple_flush(stream.get(), nullptr);
            return true;
        }
        const std::size_t length = std::min(slice, clip.bytes.size() - pos);
        if (pa_simple_write(stream.get(), clip.bytes.data() + pos, length, &nError) < 0) {
            strError = pa_strerror(nError);
            return false;
        }
    }
    pa_simple_drain(stream.get(), nullptr);
    return true;
}

std::unique_ptr<SoundOutput> MakeSoundOutput()
{
    return std::make_unique<DeviceOutput>();
}
