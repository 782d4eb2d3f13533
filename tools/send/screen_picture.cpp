#include "screen_picture.h"

#include <algorithm>
#include <span>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "draw/picture_codec.h"
#include "os/durable_file.h"
#include "common/tool_console.h"

namespace {

constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= sizeof kPngSignature && std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
}

}  // namespace

Delivery SaveScreenPicture(const SendTarget& target, const CommMsg_base& reply, const std::string& file, bool several)
{
    const int width = GetIntField(reply, MsgKey::kScreenWidth);
    const int height = GetIntField(reply, MsgKey::kScreenHeight);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::span<const std::uint8_t> png(reply.m_pAttach.get(), static_cast<std::size_t>(reply.m_nAttachLen));
    if (!IsPng(png)) {
        return {false, "the display at " + target.Name() + " sent a screen picture that is not a PNG"};
    }
    // Decoded whole, so that a damaged picture is never saved as the screen.
    const auto image = DecodePicture(png, SIZE{0, 0});
    if (!image) {
        return {false, "the display at " + target.Name() + " sent a screen picture that cannot be decoded"};
    }
    if (image->Width() != width || image->Height() != height) {
        return {false, "the display at " + target.Name() + " sent a screen picture of " +
                           std::to_string(image->Width()) + "x" + std::to_string(image->Height()) + " but said " + size};
    }
    if (file == "-") {
        if (!WriteStandardOutput(png)) {
            return {false, "cannot write the screen picture of " + target.Name() + " to standard output"};
        }
        return {true, ""};
    }
    std::string error;
    if (!WriteFileDurably(file, png, error)) {
        return {false, error};
    }
    return {true, several ? size + " (" + file + ")" : size};
}
