#pragma once
// A blocking client on 127.0.0.1 for the server tests, on plain POSIX sockets so that the
// client side shares nothing with the code under test.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "msg/frame_buffer.h"

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
    explicit LoopbackClient(int port, int receiveBuffer = 0)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer > 0) {
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_bConnected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~LoopbackClient()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connected() const { return m_bConnected; }

    // False once the server has closed its side (the write then fails).
    bool Send(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    void Close()
    {
        ::close(m_fd);
        m_fd = -1;
    }

    // Everything the server sends until it closes the connection, or until the deadline.
    Bytes ReadUntilClosed(std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        Bytes all;
        m_bPeerClosed = false;
        const auto end = std::chrono::steady_clock::now() + deadline;
        std::uint8_t buf[65536];
        while (std::chrono::steady_clock::now() < end) {
            if (!Readable(10)) {
                continue;
            }
            const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
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
            if (!Readable(10)) {
                continue;
            }
            const ssize_t r = ::recv(m_fd, buf, std::min(sizeof buf, n - all.size()), 0);
            if (r <= 0) {
                break;
            }
            all.insert(all.end(), buf, buf + r);
        }
        return all;
    }

    // True when nothing at all (no data, no close) arrives within the time given.
    bool StaysQuietFor(std::chrono::milliseconds quiet) { return !Readable(static_cast<int>(quiet.count())); }

private:
    bool Readable(int ms)
    {
        pollfd p{m_fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    int m_fd = -1;
    bool m_bConnected = false;
    bool m_bPeerClosed = false;
};
