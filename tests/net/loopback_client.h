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
    explicit LoopbackClient(int port, int receiveBuffer = 0) : LoopbackClient("127.0.0.1", port, receiveBuffer) {}
    // To `address` (IPv4 or IPv6), from `source` when one is given (127.0.0.2, say: the
    // whole of 127/8 is this machine).
    LoopbackClient(const char* address, int port, int receiveBuffer = 0, const char* source = nullptr)
    {
        sockaddr_storage to{};
        socklen_t toLen = 0;
        if (!Fill(address, port, to, toLen)) {
            return;
        }
        m_fd = ::socket(to.ss_family, SOCK_STREAM, 0);
        if (receiveBuffer > 0) {
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        sockaddr_storage from{};
        socklen_t fromLen = 0;
        if (source != nullptr && (!Fill(source, 0, from, fromLen) ||
                                  ::bind(m_fd, reinterpret_cast<sockaddr*>(&from), fromLen) != 0)) {
            return;
        }
        m_bConnected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&to), toLen) == 0;
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
    // Ends the connection with a reset instead of an orderly close.
    void Reset()
    {
        const linger abort{1, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        Close();
    }
    // Half-close: no more bytes from this side; the server's replies can still come.
    void ShutdownSending() { ::shutdown(m_fd, SHUT_WR); }

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
    static bool Fill(const char* address, int port, sockaddr_storage& out, socklen_t& len)
    {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&out);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&out);
        if (::inet_pton(AF_INET, address, &v4->sin_addr) == 1) {
            v4->sin_family = AF_INET;
            v4->sin_port = htons(static_cast<std::uint16_t>(port));
            len = sizeof *v4;
            return true;
        }
        if (::inet_pton(AF_INET6, address, &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(static_cast<std::uint16_t>(port));
            len = sizeof *v6;
            return true;
        }
        return false;
    }

    bool Readable(int ms)
    {
        pollfd p{m_fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    int m_fd = -1;
    bool m_bConnected = false;
    bool m_bPeerClosed = false;
};
