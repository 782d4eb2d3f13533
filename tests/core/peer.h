#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "wire_frame.h"

// The scoring program's side of one connection, on a real socket to 127.0.0.1.
class Peer {
public:
    explicit Peer(int nPort);
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    ~Peer();

    bool Connected() const { return m_nFd >= 0; }
    bool Send(const CommMsg_base& msg);
    bool SendBytes(const std::vector<std::uint8_t>& bytes);
    // Reads until the display closes the connection; false when it stays open past the
    // deadline. The bytes received on the way are kept.
    bool WaitClosed(std::chrono::milliseconds deadline = std::chrono::seconds(10));
    const std::vector<std::uint8_t>& Received() const { return m_received; }

private:
    int m_nFd = -1;
    std::vector<std::uint8_t> m_received;
};
