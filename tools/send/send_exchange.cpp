#include "send_exchange.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

namespace {

// Exchanges run on a thread per display; strerror may share one buffer among them.
std::string ErrorText(int err) { return std::error_code(err, std::generic_category()).message(); }

constexpr int kConnectTimeoutMs = 5000;
// The display closes about 50 ms after it has handled a message; a busy one queues.
constexpr auto kCloseTimeout = std::chrono::seconds(10);

// Closes the descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

class AddrList {
public:
    ~AddrList()
    {
        if (m_list != nullptr) {
            ::freeaddrinfo(m_list);
        }
    }
    addrinfo** Out() { return &m_list; }
    const addrinfo* Get() const { return m_list; }

private:
    addrinfo* m_list = nullptr;
};

// 0 when connected, otherwise the errno of the failure.
int ConnectWithin(int fd, const addrinfo& addr)
{
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd, addr.ai_addr, addr.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            return errno;
        }
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kConnectTimeoutMs) <= 0) {
            return ETIMEDOUT;
        }
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
        if (err != 0) {
            return err;
        }
    }
    ::fcntl(fd, F_SETFL, flags);
    return 0;
}

bool SendAll(int fd, const std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t n = ::send(fd, bytes, count, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ExchangeFrame(const std::string& host, int port, const FrameBuffer& frame, std::vector<std::uint8_t>& received,
                   std::string& error)
{
    const std::string where = host + ":" + std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    AddrList addrs;
    if (const int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, addrs.Out()); rc != 0) {
        error = "cannot find the display at " + where + ": " + ::gai_strerror(rc);
        return false;
    }
    int lastError = 0;
    for (const addrinfo* a = addrs.Get(); a != nullptr; a = a->ai_next) {
        Fd sock(::socket(a->ai_family, a->ai_socktype, a->ai_protocol));
        if (sock.Get() < 0) {
            lastError = errno;
            continue;
        }
        lastError = ConnectWithin(sock.Get(), *a);
        if (lastError != 0) {
            continue;
        }
        if (!SendAll(sock.Get(), frame.Bytes(), static_cast<std::size_t>(frame.Length()))) {
            error = "the display at " + where + " closed the connection while the message was sent: " +
                    ErrorText(errno);
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + kCloseTimeout;
        std::uint8_t buf[65536];
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{sock.Get(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) == 0) {
                error = "the display at " + where + " did not close the connection within 10 seconds";
                return false;
            }
            const ssize_t n = ::recv(sock.Get(), buf, sizeof buf, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                // A reset after the reply still ends the exchange: the display has closed.
                return true;
            }
            received.insert(received.end(), buf, buf + n);
        }
    }
    error = "cannot reach the display at " + where + ": " + ErrorText(lastError);
    return false;
}
