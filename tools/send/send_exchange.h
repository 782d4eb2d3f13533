#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "msg/frame_buffer.h"

// Connects to the display, sends the frame, and keeps everything the display sends back
// until it closes the connection, which it does once it has handled the message.
// On failure returns false with a one-line reason.
bool ExchangeFrame(const std::string& host, int port, const FrameBuffer& frame, std::vector<std::uint8_t>& received,
                   std::string& error);
