#pragma once
#include <cstddef>
#include <cstdint>

#include "msg/frame_buffer.h"

namespace FrameLimit {

// The largest frame a connection may announce or build up: 64 MiB.
inline constexpr std::int64_t kMaxFrameBytes = 64LL * 1024 * 1024;
// All that the server holds of what peers sent, pending streams and queued frames
// together: past this, the connection whose bytes arrived last is ended.
inline constexpr std::int64_t kMaxHeldBytes = 256LL * 1024 * 1024;
// More rejected frames than this in one receive discard the rest of the stream.
inline constexpr int kMaxRejectedFrames = 20;
// The longest JSON text a frame may carry: 1 MiB. Pictures travel as attachments, so
// nothing in the protocol needs more, and a longer text is rejected without being parsed.
inline constexpr std::int64_t kMaxJsonBytes = 1024LL * 1024;
// The deepest nesting of arrays and objects a JSON text may have. Messages are flat; a
// deeply nested text only costs parse-tree nodes and recursion, so it is rejected
// without being parsed.
inline constexpr int kMaxJsonDepth = 64;
// A queued message counts against kMaxHeldBytes as its attachment plus this many bytes
// per byte of its JSON text: a parse tree takes some fifty times the text it came from.
inline constexpr std::int64_t kParsedJsonWeight = 64;

// True when what is left of a stream after cutting can never become an acceptable frame:
// its front announces more than the limit, or it has grown past the limit anyway
// (a length of 0 or less never forms a frame).
inline bool StreamTooLarge(const std::uint8_t* stream, std::size_t count)
{
    if (static_cast<std::int64_t>(count) > kMaxFrameBytes) {
        return true;
    }
    return count >= 4 && ReadInt32LE(stream) > kMaxFrameBytes;
}

}  // namespace FrameLimit
