#pragma once
// A blocking client on 127.0.0.1 for the server tests, on the system's plain sockets so
// that the client side shares nothing with the code under test.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "msg/frame_buffer.h"
#include "plain_socket.h"

using Bytes = std::vector<std::uint8_t>;

// A frame with the given JSON text and attachment, in wire layout.
inline Bytes MakeFrame(const std::string& json, const Bytes& attach = {})
{
    Bytes f(8 + json.size() + attach.size());
    WriteInt32LE(f.data(), static_cast<std::int32_t>(f.size()));
    WriteInt32LE(f.data() + 4, static_cast<std::int32_t>(attach.size()));
    std::copy(json.begin(), json.end(), f.begin() + 8);
    std::copy(attach.begin(), attach.end(), f.begin() + 8 + static_cast<std::ptrdiff_t>(json.size()));
    return f;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LoopbackClient {
public:
    // A receive buffer size other than 0 is fixed before connecting, which keeps the
    // kernel from growing it: a client that does not read then soon stops the sender.
    explicit LoopbackClient(int port, int receiveBuffer = 0) : LoopbackClient("127.0.0.1", port, receiveBuffer) {}
    // To `address` (IPv4 or IPv6), from `source` when one is given (127.0.0.2, say: the
    // whole of 127/8 is this machine).
    LoopbackClient(const char* address, int port, int receiveBuffer = 0, const char* source = nullptr)
        : m_socket(PlainSocket::Connect(address, port, receiveBuffer, source))
    {
    }
    ~LoopbackClient()
    {
        if (m_socket != PlainSocket::kNone) {
            PlainSocket::Close(m_socket);
        }
    }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connected() const { return m_socket != PlainSocket::kNone; }

    // False once the server has closed its side (the write then fails).
    bool Send(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const long n = PlainSocket::Send(m_socket, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    void Close()
    {
        PlainSocket::Close(m_socket);
        m_socket = PlainSocket::kNone;
    }
    // Ends the connection with a reset instead of an orderly close.
    void Reset()
    {
        PlainSocket::CloseWithReset(m_socket);
        m_socket = PlainSocket::kNone;
    }
    // Half-close: no more bytes from this side; the server's replies can still come.
    void ShutdownSending() { PlainSocket::ShutdownSending(m_socket); }

    // Everything the server sends until it closes the connection, or until the deadline.
    Bytes ReadUntilClosed(std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        Bytes all;
        m_bPeerClosed = false;
        const auto end = std::chrono::steady_clock::now() + deadline;
        std::uint8_t buf[65536];
        while (std::chrono::steady_clock::now() < end) {
            if (!PlainSocket::WaitReadable(m_socket, 10)) {
                continue;
            }
            const long n = PlainSocket::Receive(m_socket, buf, sizeof buf);
            if (n <= 0) {
                m_bPeerClosed = true;
                break;
            }
            all.insert(all.end(), buf, buf + n);
        }
        return all;
    }
    bool PeerClosed() const { return m_bPeerClosed; }

    // Exactly n bytes, or fewer when the connection ends or the deadline passes.
    Bytes ReadExactly(std::size_t n, std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        Bytes all;
        const auto end = std::chrono::steady_clock::now() + deadline;
        std::uint8_t buf[65536];
        while (all.size() < n && std::chrono::steady_clock::now() < end) {
            if (!PlainSocket::WaitReadable(m_socket, 10)) {
                continue;
            }
            const long r = PlainSocket::Receive(m_socket, buf, std::min(sizeof buf, n - all.size()));
            if (r <= 0) {
                break;
            }
            all.insert(all.end(), buf, buf + r);
        }
        return all;
    }

    // True when nothing at all (no data, no close) arrives within the time given.
    bool StaysQuietFor(std::chrono::milliseconds quiet)
    {
        return !PlainSocket::WaitReadable(m_socket, static_cast<int>(quiet.count()));
    }

private:
    PlainSocket::Handle m_socket;
    bool m_bPeerClosed = false;
};
