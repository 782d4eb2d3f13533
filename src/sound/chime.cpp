#include "chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2.5;

// Partials of a struck bell relative to its nominal pitch: hum, prime, tierce, quint,
// nominal, upper partials; each with its loudness and how fast it dies away (seconds).
struct Partial {
    double ratio;
    double amplitude;
    double decay;
};
constexpr Partial kPartials[] = {
    {0.5, 0.35, 1.4}, {1.0, 0.5, 1.0}, {1.2, 0.25, 0.7}, {1.5, 0.15, 0.6},
    {2.0, 0.45, 0.5}, {2.5, 0.12, 0.3}, {3.0, 0.08, 0.25},
};

struct Stroke {
    double start;     // seconds into the chime
    double nominal;   // Hz
};
constexpr Stroke kStrokes[] = {{0.0, 1318.5}, {0.55, 1046.5}};  // E6, then C6

double StrokeAt(const Stroke& stroke, double t)
{
    const double s = t - stroke.start;
    if (s < 0) return 0;
    // A few milliseconds of attack, so the speaker does not click.
    const double attack = std::min(1.0, s / 0.004);
    double sum = 0;
    for (const Partial& p : kPartials) {
        sum += p.amplitude * std::exp(-s / p.decay) * std::sin(2 * std::numbers::pi * stroke.nominal * p.ratio * s);
    }
    return attack * sum;
}

}  // namespace

SoundClip SynthesiseChime()
{
    const int frames = static_cast<int>(kRate * kSeconds);
    std::vector<double> wave(static_cast<std::size_t>(frames));
    double peak = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const Stroke& stroke : kStrokes) v += StrokeAt(stroke, t);
        // The last 50 ms fade out, so the end is silent rather than cut.
        v *= std::min(1.0, (kSeconds - t) / 0.05);
        wave[static_cast<std::size_t>(i)] = v;
        peak = std::max(peak, std::abs(v));
    }
    SoundClip clip;
    clip.format = SoundClip::Format::S16LE;
    clip.nRate = kRate;
    clip.nChannels = 1;
    clip.bytes.reserve(static_cast<std::size_t>(frames) * 2);
    const double scale = peak > 0 ? 0.8 * 32767 / peak : 0;
    for (const double v : wave) {
        const auto sample = static_cast<std::int16_t>(std::lround(v * scale));
        const auto bits = static_cast<std::uint16_t>(sample);
        clip.bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
        clip.bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
    }
    return clip;
}
