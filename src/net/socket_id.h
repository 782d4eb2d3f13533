#pragma once
#include <cstdint>

// A connection as the processor sees it. The server hands out these ids from one
// process-wide 64-bit counter, starting at 1, so an id is never reused for the life of
// the process: a late reply, a second close or a stale frame of an ended connection can
// never reach a newer one. Sending to, or closing, an id that has ended does nothing.
// INVALID_SOCKET is no connection: 0 here, and Winsock's own ~0 on Windows, where both
// names must mean the same in a file that includes Winsock (through Asio) as in one that
// does not. The counter reaches neither.
#ifdef _WIN32
#include <basetsd.h>
#include <psdk_inc/_socket_types.h>
#else
using SOCKET = std::uint64_t;
inline constexpr SOCKET INVALID_SOCKET = 0;
#endif

// The next id of the process-wide counter.
SOCKET NewSocketId();
