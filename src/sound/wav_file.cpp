#include "wav_file.h"

#include <cstring>
#include <fstream>
#include <optional>

#include "os/file_path.h"

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t Read32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::optional<SoundClip::Format> SampleFormat(std::uint16_t tag, std::uint16_t bits)
{
    if (tag == kFormatFloat) return bits == 32 ? std::optional(SoundClip::Format::F32LE) : std::nullopt;
    if (tag != kFormatPcm) return std::nullopt;
    switch (bits) {
    case 8: return SoundClip::Format::U8;
    case 16: return SoundClip::Format::S16LE;
    case 24: return SoundClip::Format::S24LE;
    case 32: return SoundClip::Format::S32LE;
    default: return std::nullopt;
    }
}

}  // namespace

bool ParseWav(const std::vector<std::uint8_t>& file, SoundClip& clip, std::string& strError)
{
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        strError = "not a WAV file";
        return false;
    }
    std::optional<SoundClip> format;
    std::size_t pos = 12;
    while (file.size() - pos >= 8) {
        const std::uint8_t* chunk = file.data() + pos;
        const std::size_t size = Read32(chunk + 4);
        const std::size_t room = file.size() - pos - 8;
        const std::uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > room) break;
            std::uint16_t tag = Read16(body);
            const std::uint16_t channels = Read16(body + 2);
            const std::uint32_t rate = Read32(body + 4);
            const std::uint16_t bits = Read16(body + 14);
            // The extensible form names the real format in the first two bytes of its GUID.
            if (tag == kFormatExtensible && size >= 26) tag = Read16(body + 24);
            const std::optional<SoundClip::Format> sample = SampleFormat(tag, bits);
            if (!sample || channels < 1 || channels > 8 || rate < 8000 || rate > 192000) {
                strError = "unsupported WAV format (PCM of 8 to 32 bits or 32-bit float, 1 to 8 channels, "
                           "8000 to 192000 Hz)";
                return false;
            }
            format = SoundClip{*sample, static_cast<int>(rate), channels, {}};
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) break;
            // A data chunk cut short by a truncated file plays as far as it goes.
            const std::size_t frame = format->BytesPerFrame();
            const std::size_t length = std::min(size, room) / frame * frame;
            if (length == 0) {
                strError = "the WAV file holds no sound";
                return false;
            }
            clip = std::move(*format);
            clip.bytes.assign(body, body + length);
            return true;
        }
        // Chunks are padded to an even length.
        const std::size_t step = 8 + size + (size & 1);
        if (step > file.size() - pos) break;
        pos += step;
    }
    strError = format ? "the WAV file has no sound data" : "the WAV file has no format chunk before its data";
    return false;
}

bool LoadWavFile(const std::string& strPath, SoundClip& clip, std::string& strError)
{
    std::ifstream in(PathFromUtf8(strPath), std::ios::binary);
    if (!in) {
        strError = "cannot open " + strPath;
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxWavBytes) {
        strError = size < 0 ? "cannot read " + strPath : strPath + " is larger than 16 MiB";
        return false;
    }
    in.seekg(0);
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(file.data()), size);
    file.resize(static_cast<std::size_t>(in.gcount()));
    if (!ParseWav(file, clip, strError)) {
        strError = strPath + ": " + strError;
        return false;
    }
    return true;
}
