#include "peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

Peer::Peer(int nPort)
{
    m_nFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_nFd >= 0 && connect(m_nFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(m_nFd);
        m_nFd = -1;
    }
}

Peer::~Peer()
{
    if (m_nFd >= 0) {
        close(m_nFd);
    }
}

bool Peer::Send(const CommMsg_base& msg)
{
    return SendBytes(FrameOf(msg));
}

bool Peer::SendBytes(const std::vector<std::uint8_t>& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(m_nFd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool Peer::WaitClosed(std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd pfd{m_nFd, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        std::uint8_t buf[4096];
        const ssize_t n = recv(m_nFd, buf, sizeof buf, 0);
        if (n <= 0) {
            return true;
        }
        m_received.insert(m_received.end(), buf, buf + n);
    }
}
