#include "plain_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

namespace PlainSocket {
namespace {

// Winsock serves a process only between WSAStartup and WSACleanup.
struct WinsockUse {
    WinsockUse()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUse() { WSACleanup(); }
};

void StartWinsock()
{
    static const WinsockUse s_use;
}

bool Fill(const char* address, int port, sockaddr_storage& out, int& len)
{
    out = {};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out);
    if (::inet_pton(AF_INET, address, &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<u_short>(port));
        len = sizeof *v4;
        return true;
    }
    if (::inet_pton(AF_INET6, address, &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<u_short>(port));
        len = sizeof *v6;
        return true;
    }
    return false;
}

SOCKET Sock(Handle s)
{
    return static_cast<SOCKET>(s);
}

Handle FromSock(SOCKET s)
{
    return s == INVALID_SOCKET ? kNone : static_cast<Handle>(s);
}

int Chunk(std::size_t size)
{
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

}  // namespace

Handle Connect(const char* address, int port, int receiveBuffer, const char* source)
{
    StartWinsock();
    sockaddr_storage to{};
    int toLen = 0;
    if (!Fill(address, port, to, toLen)) {
        return kNone;
    }
    const SOCKET s = ::socket(to.ss_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return kNone;
    }
    if (receiveBuffer > 0) {
        ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
    }
    sockaddr_storage from{};
    int fromLen = 0;
    const bool bound = source == nullptr || (Fill(source, 0, from, fromLen) &&
                                             ::bind(s, reinterpret_cast<sockaddr*>(&from), fromLen) == 0);
    if (!bound || ::connect(s, reinterpret_cast<sockaddr*>(&to), toLen) != 0) {
        ::closesocket(s);
        return kNone;
    }
    return FromSock(s);
}

long Send(Handle s, const std::uint8_t* bytes, std::size_t size)
{
    return ::send(Sock(s), reinterpret_cast<const char*>(bytes), Chunk(size), 0);
}

long Receive(Handle s, std::uint8_t* buffer, std::size_t size)
{
    return ::recv(Sock(s), reinterpret_cast<char*>(buffer), Chunk(size), 0);
}

bool WaitReadable(Handle s, int ms)
{
    WSAPOLLFD p{Sock(s), POLLRDNORM, 0};
    return ::WSAPoll(&p, 1, ms) > 0;
}

void ShutdownSending(Handle s)
{
    ::shutdown(Sock(s), SD_SEND);
}

void Close(Handle s)
{
    ::closesocket(Sock(s));
}

void CloseWithReset(Handle s)
{
    const linger abort{1, 0};
    ::setsockopt(Sock(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    Close(s);
}

Handle ListenOnFreePort(int& port)
{
    StartWinsock();
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    int len = sizeof addr;
    if (s == INVALID_SOCKET || ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(s, 5) != 0 || ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (s != INVALID_SOCKET) {
            ::closesocket(s);
        }
        return kNone;
    }
    port = ntohs(addr.sin_port);
    return FromSock(s);
}

bool CanBind(const char* address)
{
    StartWinsock();
    sockaddr_storage addr{};
    int len = 0;
    if (!Fill(address, 0, addr, len)) {
        return false;
    }
    const SOCKET s = ::socket(addr.ss_family, SOCK_STREAM, IPPROTO_TCP);
    const bool ok = s != INVALID_SOCKET && ::bind(s, reinterpret_cast<sockaddr*>(&addr), len) == 0;
    if (s != INVALID_SOCKET) {
        ::closesocket(s);
    }
    return ok;
}

}  // namespace PlainSocket
