#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// One TCP connection to a display over the platform's sockets (POSIX, or Winsock on
// Windows), closed with the object. Failures come with the platform's own words for them.
class DisplaySocket {
public:
    DisplaySocket();
    ~DisplaySocket();
    DisplaySocket(const DisplaySocket&) = delete;
    DisplaySocket& operator=(const DisplaySocket&) = delete;

    enum class Outcome { Connected, NotFound, Unreachable };
    // Connects to the first IPv4 address of the host that accepts within timeoutMs.
    Outcome Connect(const std::string& host, int port, int timeoutMs, std::string& why);
    bool SendAll(const std::uint8_t* bytes, std::size_t count, std::string& why);
    // Waits at most timeoutMs for bytes: how many came, 0 once the display has closed (or
    // reset) the connection, -1 when nothing came in time.
    int Receive(std::uint8_t* buffer, std::size_t size, int timeoutMs);

    // Whether the host names an IPv4 address (a name the resolver knows, or a dotted
    // address); false with the resolver's words.
    static bool Resolves(const std::string& host, std::string& why);

private:
    // A descriptor, or a Winsock SOCKET; -1 for none on both.
    std::intptr_t m_socket = -1;
};
