#include "frame_cutter.h"

#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"
#include "net/frame_limits.h"

namespace {

constexpr int kHeaderBytes = 8;

// The JSON text's length as the header gives it; a header that does not describe a
// frame of this length is left for the full check to reject.
std::int64_t JsonLength(const std::uint8_t* frame, int length)
{
    if (length < kHeaderBytes) {
        return 0;
    }
    const std::int32_t attach = ReadInt32LE(frame + 4);
    if (attach < 0 || attach > length - kHeaderBytes) {
        return 0;
    }
    return static_cast<std::int64_t>(length) - kHeaderBytes - attach;
}

std::unique_ptr<CommMsg_base> Parse(const std::uint8_t* bytes, int length)
{
    FrameBuffer frame;
    frame.Assign(bytes, length);
    auto msg = std::make_unique<CommMsg_base>();
    if (!frame.ToMessage(*msg)) {
        return nullptr;
    }
    return msg;
}

}  // namespace

CutResult CutFrames(StreamBuffer& stream, std::vector<CutMessage>& out)
{
    CutResult result;
    for (;;) {
        const int length = NextFrameLength(stream.Data(), stream.Size());
        if (length < 0) {
            return result;
        }
        const std::int64_t json = JsonLength(stream.Data(), length);
        std::unique_ptr<CommMsg_base> msg = json <= FrameLimit::kMaxJsonBytes ? Parse(stream.Data(), length) : nullptr;
        stream.Consume(static_cast<std::size_t>(length));
        if (!msg) {
            if (++result.m_nRejected > FrameLimit::kMaxRejectedFrames) {
                stream.Clear();
                result.m_bDiscarded = true;
                return result;
            }
            continue;
        }
        if (GetIntByName(*msg, kMsgIdKey) >= 1) {
            const auto held = static_cast<std::size_t>(msg->m_nAttachLen + json * FrameLimit::kParsedJsonWeight);
            out.push_back({std::move(msg), held});
        }
    }
}
