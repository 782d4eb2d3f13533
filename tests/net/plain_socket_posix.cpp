#include "plain_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace PlainSocket {
namespace {

bool Fill(const char* address, int port, sockaddr_storage& out, socklen_t& len)
{
    out = {};
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

int Fd(Handle s)
{
    return static_cast<int>(s);
}

}  // namespace

Handle Connect(const char* address, int port, int receiveBuffer, const char* source)
{
    sockaddr_storage to{};
    socklen_t toLen = 0;
    if (!Fill(address, port, to, toLen)) {
        return kNone;
    }
    const int fd = ::socket(to.ss_family, SOCK_STREAM, 0);
    if (fd < 0) {
        return kNone;
    }
    if (receiveBuffer > 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    }
    sockaddr_storage from{};
    socklen_t fromLen = 0;
    const bool bound = source == nullptr || (Fill(source, 0, from, fromLen) &&
                                             ::bind(fd, reinterpret_cast<sockaddr*>(&from), fromLen) == 0);
    if (!bound || ::connect(fd, reinterpret_cast<sockaddr*>(&to), toLen) != 0) {
        ::close(fd);
        return kNone;
    }
    return fd;
}

long Send(Handle s, const std::uint8_t* bytes, std::size_t size)
{
    return ::send(Fd(s), bytes, size, MSG_NOSIGNAL);
}

long Receive(Handle s, std::uint8_t* buffer, std::size_t size)
{
    return ::recv(Fd(s), buffer, size, 0);
}

bool WaitReadable(Handle s, int ms)
{
    pollfd p{Fd(s), POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

void ShutdownSending(Handle s)
{
    ::shutdown(Fd(s), SHUT_WR);
}

void Close(Handle s)
{
    ::close(Fd(s));
}

void CloseWithReset(Handle s)
{
    const linger abort{1, 0};
    ::setsockopt(Fd(s), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Close(s);
}

Handle ListenOnFreePort(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 5) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return kNone;
    }
    port = ntohs(addr.sin_port);
    return fd;
}

bool CanBind(const char* address)
{
    sockaddr_storage addr{};
    socklen_t len = 0;
    if (!Fill(address, 0, addr, len)) {
        return false;
    }
    const int fd = ::socket(addr.ss_family, SOCK_STREAM, 0);
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return ok;
}

}  // namespace PlainSocket
