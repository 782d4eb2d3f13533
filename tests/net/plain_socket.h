#pragma once
// Just enough of the system's own socket interface for the test clients: BSD sockets on
// Linux, Winsock on Windows. Nothing here goes through Asio, so the client side shares
// nothing with the code under test.
#include <cstddef>
#include <cstdint>

namespace PlainSocket {

using Handle = std::intptr_t;
inline constexpr Handle kNone = -1;

// A TCP connection to `address` (an IPv4 or IPv6 literal). A receive buffer size other
// than 0 is fixed before connecting; `source`, when given, is bound first. kNone when any
// step fails.
Handle Connect(const char* address, int port, int receiveBuffer, const char* source);

// Bytes taken, or a negative count once the connection is gone (never a signal).
long Send(Handle s, const std::uint8_t* bytes, std::size_t size);
// Bytes read; 0 once the peer has closed, negative on an error.
long Receive(Handle s, std::uint8_t* buffer, std::size_t size);
// True when a read would not wait (data, or the end of the connection) within `ms`.
bool WaitReadable(Handle s, int ms);

// Half-close: no more bytes from this side.
void ShutdownSending(Handle s);
void Close(Handle s);
// Ends the connection with a reset instead of an orderly close.
void CloseWithReset(Handle s);

// A socket listening on a port the system picks, on every IPv4 address; kNone on failure.
Handle ListenOnFreePort(int& port);
// True when a TCP socket can be bound to `address` (a literal) on this machine.
bool CanBind(const char* address);

}  // namespace PlainSocket
