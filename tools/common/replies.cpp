#include "common/replies.h"

#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"

std::vector<Reply> CutReplies(const std::vector<std::uint8_t>& received)
{
    std::vector<Reply> replies;
    std::size_t at = 0;
    for (int length; (length = NextFrameLength(received.data() + at, received.size() - at)) > 0; at += length) {
        FrameBuffer frame;
        frame.Assign(received.data() + at, length);
        auto msg = std::make_unique<CommMsg_base>();
        if (frame.ToMessage(*msg)) {
            // An accepted frame has its attachment length in range, so the text is there.
            const int attachment = ReadInt32LE(frame.Bytes() + 4);
            const auto* text = reinterpret_cast<const char*>(frame.Bytes() + 8);
            replies.push_back({std::move(msg), std::string(text, static_cast<std::size_t>(length - attachment - 8))});
        }
    }
    return replies;
}

const Reply* FindReply(const std::vector<Reply>& replies, int id)
{
    for (const Reply& reply : replies) {
        if (GetIntByName(*reply.msg, kMsgIdKey) == id) {
            return &reply;
        }
    }
    return nullptr;
}
