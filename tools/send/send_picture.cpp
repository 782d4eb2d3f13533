#include "send_picture.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "msg/frame_buffer.h"
#include "msg/frame_limits.h"
#include "picture_orientation.h"
#include "os/file_path.h"
#include "draw/picture_codec.h"

namespace {

std::string Name(const std::string& path) { return path == "-" ? "standard input" : path; }

// At most one byte more than a frame may hold, so that a larger source is noticed
// without being read whole.
bool ReadBounded(std::istream& in, std::vector<std::uint8_t>& bytes)
{
    constexpr auto kMost = static_cast<std::size_t>(FrameLimit::kMaxFrameBytes);
    char buf[65536];
    while (bytes.size() <= kMost && in.read(buf, sizeof buf).gcount() > 0) {
        bytes.insert(bytes.end(), buf, buf + in.gcount());
    }
    return !in.bad();
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (ec) {
        error = "cannot read " + path + ": " + ec.message();
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error = path + " is a directory, not a file";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = path + " is not a regular file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in || !ReadBounded(in, bytes)) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> LoadFileBytes(const std::string& path, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (path == "-") {
        if (!ReadBounded(std::cin, bytes)) {
            error = "cannot read standard input";
            return std::nullopt;
        }
    } else if (!ReadFile(path, bytes, error)) {
        return std::nullopt;
    }
    if (static_cast<std::int64_t>(bytes.size()) > FrameLimit::kMaxFrameBytes) {
        error = Name(path) + " is larger than the 64 MiB a display accepts";
        return std::nullopt;
    }
    return bytes;
}

std::optional<Picture> LoadPicture(const std::string& path, std::string& error)
{
    auto bytes = LoadFileBytes(path, error);
    if (!bytes) {
        return std::nullopt;
    }
    if (bytes->empty()) {
        error = Name(path) + " is empty, not a picture";
        return std::nullopt;
    }
    if (bytes->size() < static_cast<std::size_t>(kMinAttachment)) {
        bytes->resize(static_cast<std::size_t>(kMinAttachment), 0);
    }
    auto image = DecodePicture(*bytes, SIZE{0, 0});
    if (!image) {
        // The decoders give no reason; these are all the ways they fail.
        error = Name(path) + " is not a picture that can be decoded: not a picture format, damaged, or more than " +
                std::to_string(kPictureAllocationLimitMiB) + " MiB decoded";
        return std::nullopt;
    }
    const int orientation = JpegOrientation(*bytes);
    return Picture{std::move(*bytes), Upright(*image, orientation)};
}
