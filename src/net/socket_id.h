#pragma once
#include <cstdint>

// A connection as the processor sees it. The server hands out these ids from one
// process-wide 64-bit counter, starting at 1, so an id is never reused for the life of
// the process: a late reply, a second close or a stale frame of an ended connection can
// never reach a newer one. Sending to, or closing, an id that has ended does nothing.
using SOCKET = std::uint64_t;

// No connection.
inline constexpr SOCKET INVALID_SOCKET = 0;

// The next id of the process-wide counter.
SOCKET NewSocketId();
