#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/display_socket.h"

namespace {

// Exchanges run on a thread per display; strerror may share one buffer among them.
std::string ErrorText(int err) { return std::error_code(err, std::generic_category()).message(); }

class AddrList {
public:
    AddrList() = default;
    ~AddrList()
    {
        if (m_list != nullptr) {
            ::freeaddrinfo(m_list);
        }
    }
    AddrList(const AddrList&) = delete;
    AddrList& operator=(const AddrList&) = delete;
    addrinfo** Out() { return &m_list; }
    const addrinfo* Get() const { return m_list; }

private:
    addrinfo* m_list = nullptr;
};

// 0 when connected, otherwise the errno of the failure.
int ConnectWithin(int fd, const addrinfo& addr, int timeoutMs)
{
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd, addr.ai_addr, addr.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            return errno;
        }
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) {
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

}  // namespace

DisplaySocket::DisplaySocket() = default;

DisplaySocket::~DisplaySocket()
{
    if (m_socket >= 0) {
        ::close(static_cast<int>(m_socket));
    }
}

DisplaySocket::Outcome DisplaySocket::Connect(const std::string& host, int port, int timeoutMs, std::string& why)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    AddrList addrs;
    if (const int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, addrs.Out()); rc != 0) {
        why = ::gai_strerror(rc);
        return Outcome::NotFound;
    }
    int lastError = 0;
    for (const addrinfo* a = addrs.Get(); a != nullptr; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        lastError = ConnectWithin(fd, *a, timeoutMs);
        if (lastError == 0) {
            m_socket = fd;
            return Outcome::Connected;
        }
        ::close(fd);
    }
    why = ErrorText(lastError);
    return Outcome::Unreachable;
}

bool DisplaySocket::SendAll(const std::uint8_t* bytes, std::size_t count, std::string& why)
{
    while (count > 0) {
        const ssize_t n = ::send(static_cast<int>(m_socket), bytes, count, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            why = ErrorText(errno);
            return false;
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

int DisplaySocket::Receive(std::uint8_t* buffer, std::size_t size, int timeoutMs)
{
    for (;;) {
        pollfd p{static_cast<int>(m_socket), POLLIN, 0};
        if (timeoutMs <= 0 || ::poll(&p, 1, timeoutMs) == 0) {
            return -1;
        }
        const ssize_t n = ::recv(static_cast<int>(m_socket), buffer, size, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // A reset after the reply still ends the exchange: the display has closed.
        return n <= 0 ? 0 : static_cast<int>(n);
    }
}

bool DisplaySocket::Resolves(const std::string& host, std::string& why)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    AddrList addrs;
    if (const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, addrs.Out()); rc != 0) {
        why = ::gai_strerror(rc);
        return false;
    }
    return true;
}
