#include "frame_cutter.h"

#include <algorithm>

#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"
#include "msg/frame_limits.h"

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

// True when no array or object in the JSON text of the frame nests deeper than the bound.
// Brackets inside strings do not count; a bracket inside a comment does, which only
// errs on the side of refusing.
bool NestingWithinBound(const std::uint8_t* frame, std::int64_t json)
{
    const std::uint8_t* text = frame + kHeaderBytes;
    int depth = 0;
    bool inString = false;
    for (std::int64_t i = 0; i < json; ++i) {
        const std::uint8_t c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > FrameLimit::kMaxJsonDepth) {
                return false;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return true;
}

// The whole length of the frame at the front when its header, all that is needed to
// tell, announces a JSON text past the bound; else 0. A frame announced past the frame
// bound is not one: the connection is ended for it instead.
std::int64_t AnnouncedOversizeJson(const std::uint8_t* stream, std::size_t count)
{
    if (count < kHeaderBytes) {
        return 0;
    }
    const std::int32_t length = ReadInt32LE(stream);
    if (length < kHeaderBytes || length > FrameLimit::kMaxFrameBytes) {
        return 0;
    }
    return JsonLength(stream, length) > FrameLimit::kMaxJsonBytes ? length : 0;
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

CutResult FrameCutter::Cut(StreamBuffer& stream, std::vector<CutMessage>& out)
{
    CutResult result;
    const auto reject = [&] {
        if (++result.m_nRejected > FrameLimit::kMaxRejectedFrames) {
            stream.Clear();
            m_nSkip = 0;
            result.m_bDiscarded = true;
        }
        return result.m_bDiscarded;
    };
    for (;;) {
        if (m_nSkip > 0) {
            const std::size_t dropped = std::min(m_nSkip, stream.Size());
            stream.Consume(dropped);
            m_nSkip -= dropped;
            if (m_nSkip > 0) {
                return result;
            }
        }
        if (const std::int64_t announced = AnnouncedOversizeJson(stream.Data(), stream.Size()); announced > 0) {
            m_nSkip = static_cast<std::size_t>(announced);
            if (reject()) {
                return result;
            }
            continue;
        }
        const int length = NextFrameLength(stream.Data(), stream.Size());
        if (length < 0) {
            return result;
        }
        const std::int64_t json = JsonLength(stream.Data(), length);
        std::unique_ptr<CommMsg_base> msg =
            NestingWithinBound(stream.Data(), json) ? Parse(stream.Data(), length) : nullptr;
        stream.Consume(static_cast<std::size_t>(length));
        if (!msg) {
            if (reject()) {
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
