// What a bell sounds like: the built-in chime, and WAV files as a director may bring them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "sound/chime.h"
#include "sound/wav_file.h"

namespace {

std::vector<std::int16_t> Samples(const SoundClip& clip)
{
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i + 1 < clip.bytes.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(clip.bytes[i] | (clip.bytes[i + 1] << 8)));
    }
    return samples;
}

TEST(Chime, IsAudibleUnclippedAndEndsInSilence)
{
    const SoundClip clip = SynthesiseChime();
    EXPECT_EQ(clip.format, SoundClip::Format::S16LE);
    EXPECT_EQ(clip.nChannels, 1);
    EXPECT_EQ(clip.nRate, 44100);
    const std::vector<std::int16_t> samples = Samples(clip);
    ASSERT_EQ(samples.size(), 44100u * 5 / 2);
    int peak = 0;
    for (const std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    // Loud, with headroom: a clipped bell crackles on a room's speakers.
    EXPECT_GT(peak, 20000);
    EXPECT_LT(peak, 32000);
    // Starts and ends near silence: no click at either edge.
    EXPECT_LT(std::abs(samples.front()), 200);
    EXPECT_LT(std::abs(samples.back()), 200);
    // The second stroke is heard: something loud after 0.55 s too.
    int laterPeak = 0;
    for (std::size_t i = 44100 * 6 / 10; i < 44100; ++i) laterPeak = std::max(laterPeak, std::abs(static_cast<int>(samples[i])));
    EXPECT_GT(laterPeak, peak / 3);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A WAV file as sound editors write it, with room to spoil each part.
struct WavSpec {
    std::uint16_t tag = 1;
    std::uint16_t channels = 2;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::uint32_t dataBytes = 16;        // announced
    std::uint32_t dataPresent = 16;      // actually in the file
    bool listChunkFirst = false;         // an odd-sized chunk before "fmt "
    bool dataBeforeFmt = false;
    std::uint16_t extensibleTag = 0;     // nonzero: write the extensible form naming this
};

std::vector<std::uint8_t> MakeWav(const WavSpec& w)
{
    std::vector<std::uint8_t> fmt;
    Put16(fmt, w.extensibleTag ? 0xFFFE : w.tag);
    Put16(fmt, w.channels);
    Put32(fmt, w.rate);
    Put32(fmt, w.rate * w.channels * w.bits / 8);
    Put16(fmt, static_cast<std::uint16_t>(w.channels * w.bits / 8));
    Put16(fmt, w.bits);
    if (w.extensibleTag) {
        Put16(fmt, 22);
        Put16(fmt, w.bits);
        Put32(fmt, 3);
        Put16(fmt, w.extensibleTag);
        for (int i = 0; i < 14; ++i) fmt.push_back(0);
    }
    std::vector<std::uint8_t> body;
    const auto chunk = [&](const char* id, const std::vector<std::uint8_t>& bytes, std::uint32_t announced) {
        body.insert(body.end(), id, id + 4);
        Put32(body, announced);
        body.insert(body.end(), bytes.begin(), bytes.end());
        if (announced % 2 == 1 && bytes.size() == announced) body.push_back(0);
    };
    std::vector<std::uint8_t> data(w.dataPresent);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    if (w.listChunkFirst) chunk("LIST", {'I', 'N', 'F'}, 3);
    if (w.dataBeforeFmt) chunk("data", data, w.dataBytes);
    chunk("fmt ", fmt, static_cast<std::uint32_t>(fmt.size()));
    if (!w.dataBeforeFmt) chunk("data", data, w.dataBytes);
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    Put32(file, static_cast<std::uint32_t>(body.size() + 4));
    file.insert(file.end(), {'W', 'A', 'V', 'E'});
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

struct WavCase {
    const char* name;
    WavSpec spec;
    bool ok;
    SoundClip::Format format;
    std::size_t bytes;   // sound bytes kept
};

class WavFile : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavFile, TakesPlayableFormatsAndRefusesTheRest)
{
    const WavCase& c = GetParam();
    SoundClip clip;
    std::string error;
    ASSERT_EQ(ParseWav(MakeWav(c.spec), clip, error), c.ok) << error;
    if (!c.ok) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(clip.format, c.format);
    EXPECT_EQ(clip.nChannels, c.spec.channels);
    EXPECT_EQ(clip.nRate, static_cast<int>(c.spec.rate));
    ASSERT_EQ(clip.bytes.size(), c.bytes);
    EXPECT_EQ(clip.bytes.front(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WavFile,
    ::testing::Values(
        WavCase{"pcm16_stereo", {}, true, SoundClip::Format::S16LE, 16},
        WavCase{"pcm8_mono", {.channels = 1, .bits = 8}, true, SoundClip::Format::U8, 16},
        WavCase{"pcm24", {.bits = 24, .dataBytes = 18, .dataPresent = 18}, true, SoundClip::Format::S24LE, 18},
        WavCase{"pcm32", {.bits = 32}, true, SoundClip::Format::S32LE, 16},
        WavCase{"float32", {.tag = 3, .bits = 32}, true, SoundClip::Format::F32LE, 16},
        WavCase{"extensible_pcm", {.extensibleTag = 1}, true, SoundClip::Format::S16LE, 16},
        WavCase{"odd_chunk_before_fmt", {.listChunkFirst = true}, true, SoundClip::Format::S16LE, 16},
        WavCase{"partial_frame_dropped", {.dataBytes = 15, .dataPresent = 15}, true, SoundClip::Format::S16LE, 12},
        WavCase{"truncated_data_plays_what_is_there", {.dataBytes = 4000, .dataPresent = 10}, true,
                SoundClip::Format::S16LE, 8},
        WavCase{"compressed", {.tag = 2}, false, {}, 0},
        WavCase{"float64", {.tag = 3, .bits = 64}, false, {}, 0},
        WavCase{"pcm12", {.bits = 12}, false, {}, 0},
        WavCase{"no_channels", {.channels = 0}, false, {}, 0},
        WavCase{"nine_channels", {.channels = 9, .dataBytes = 18, .dataPresent = 18}, false, {}, 0},
        WavCase{"rate_too_low", {.rate = 100}, false, {}, 0},
        WavCase{"rate_too_high", {.rate = 384000}, false, {}, 0},
        WavCase{"data_before_fmt", {.dataBeforeFmt = true}, false, {}, 0},
        WavCase{"empty_data", {.dataBytes = 0, .dataPresent = 0}, false, {}, 0},
        WavCase{"less_than_a_frame", {.dataBytes = 3, .dataPresent = 3}, false, {}, 0}),
    [](const ::testing::TestParamInfo<WavCase>& info) { return std::string(info.param.name); });

TEST(WavFileText, RefusesWhatIsNotAWavFile)
{
    SoundClip clip;
    std::string error;
    for (const std::vector<std::uint8_t>& file :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'R', 'I', 'F', 'F'},
          std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '},
          std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
          std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 0xFF, 0xFF,
                                    0xFF, 0xFF}}) {
        EXPECT_FALSE(ParseWav(file, clip, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(WavFileText, LoadsFromDiskAndNamesTheFileItRefuses)
{
    const std::string dir = ::testing::TempDir();
    const std::string good = dir + "/bell-good.wav";
    const std::string bad = dir + "/bell-bad.wav";
    {
        const std::vector<std::uint8_t> bytes = MakeWav({});
        std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        std::ofstream(bad, std::ios::binary) << "not a sound";
    }
    SoundClip clip;
    std::string error;
    EXPECT_TRUE(LoadWavFile(good, clip, error)) << error;
    EXPECT_EQ(clip.bytes.size(), 16u);
    EXPECT_FALSE(LoadWavFile(bad, clip, error));
    EXPECT_NE(error.find(bad), std::string::npos) << error;
    EXPECT_FALSE(LoadWavFile(dir + "/no-such-bell.wav", clip, error));
    EXPECT_NE(error.find("no-such-bell.wav"), std::string::npos) << error;
    std::remove(good.c_str());
    std::remove(bad.c_str());
}

}  // namespace
