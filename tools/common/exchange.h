#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "msg/frame_buffer.h"
#include "msg/frame_limits.h"

// How long an exchange may take and how much it may bring back. The sender waits longer
// for a connection than the desk, which asks many displays and must notice a dark one soon.
struct ExchangeLimits {
    std::chrono::milliseconds connect{5000};
    // The display closes about 50 ms after it has handled a message; a busy one queues.
    std::chrono::milliseconds reply{10000};
    // A peer that sends more than any display's reply is cut off, not kept in memory.
    std::size_t maxBytes = static_cast<std::size_t>(FrameLimit::kMaxFrameBytes);
};

// Connects to the display, sends the frame, and keeps everything the display sends back
// until it closes the connection, which it does once it has handled the message.
// On failure returns false with a one-line reason.
bool ExchangeFrame(const std::string& host, int port, const FrameBuffer& frame, std::vector<std::uint8_t>& received,
                   std::string& error, const ExchangeLimits& limits = {});
