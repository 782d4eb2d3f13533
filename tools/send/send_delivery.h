#pragma once
#include <string>

#include "msg/frame_buffer.h"
#include "draw/image32.h"
#include "send_args.h"

// The outcome at one display: what to print for it, or why it failed, in one line.
struct Delivery {
    bool ok = false;
    std::string line;
};

// Sends the message to one display and reads its answer. The frame is the message as
// built once for every display; with note --fit it is left empty and each display gets
// the picture fitted to the size it reports. Runs on a thread of its own per display:
// it only reads args, frame and fitPicture.
Delivery Deliver(const SendTarget& target, const SendArgs& args, const FrameBuffer& frame, const Image32& fitPicture);

// The frame of a message, or an empty frame with the reason when no display would take it.
FrameBuffer BuildFrame(const CommMsg_base& msg, std::string& error);
