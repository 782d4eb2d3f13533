#pragma once
#include <cstdint>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/frame_buffer.h"

// The bytes of one message as the scoring program puts it on the wire.
inline std::vector<std::uint8_t> FrameOf(const CommMsg_base& msg)
{
    FrameBuffer frame;
    frame.FromMessage(msg);
    return {frame.Bytes(), frame.Bytes() + frame.Length()};
}
