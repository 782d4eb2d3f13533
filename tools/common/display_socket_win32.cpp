#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "common/display_socket.h"

namespace {

// Winsock's text for an error, as UTF-8 on one line without the closing full stop.
std::string ErrorText(int err)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(err), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8;
    if (length > 0) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(bytes));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), bytes, nullptr, nullptr);
    }
    LocalFree(text);
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' ' || utf8.back() == '.')) {
        utf8.pop_back();
    }
    return utf8.empty() ? "error " + std::to_string(err) : utf8;
}

class AddrList {
public:
    AddrList() = default;
    ~AddrList()
    {
        if (m_list != nullptr) {
            freeaddrinfo(m_list);
        }
    }
    AddrList(const AddrList&) = delete;
    AddrList& operator=(const AddrList&) = delete;
    addrinfo** Out() { return &m_list; }
    const addrinfo* Get() const { return m_list; }

private:
    addrinfo* m_list = nullptr;
};

// Whether the socket becomes readable (or writable) within the time; select, not
// WSAPoll, as WSAPoll does not report a refused connection on older Windows 10.
bool WaitFor(SOCKET s, bool writable, int timeoutMs, bool& failed)
{
    fd_set ready;
    fd_set broken;
    FD_ZERO(&ready);
    FD_ZERO(&broken);
    FD_SET(s, &ready);
    FD_SET(s, &broken);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int n = select(0, writable ? nullptr : &ready, writable ? &ready : nullptr, &broken, &limit);
    failed = n == SOCKET_ERROR || FD_ISSET(s, &broken);
    return n > 0;
}

// 0 when connected, otherwise the Winsock error of the failure.
int ConnectWithin(SOCKET s, const addrinfo& addr, int timeoutMs)
{
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, addr.ai_addr, static_cast<int>(addr.ai_addrlen)) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            return WSAGetLastError();
        }
        bool failed = false;
        if (!WaitFor(s, true, timeoutMs, failed) && !failed) {
            return WSAETIMEDOUT;
        }
        int err = 0;
        int len = sizeof err;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len);
        if (err != 0 || failed) {
            return err != 0 ? err : WSAECONNREFUSED;
        }
    }
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    return 0;
}

SOCKET Native(std::intptr_t s) { return static_cast<SOCKET>(s); }

}  // namespace

DisplaySocket::DisplaySocket()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

DisplaySocket::~DisplaySocket()
{
    if (m_socket != -1) {
        closesocket(Native(m_socket));
    }
    WSACleanup();
}

DisplaySocket::Outcome DisplaySocket::Connect(const std::string& host, int port, int timeoutMs, std::string& why)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    AddrList addrs;
    if (const int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, addrs.Out()); rc != 0) {
        why = ErrorText(rc);
        return Outcome::NotFound;
    }
    int lastError = 0;
    for (const addrinfo* a = addrs.Get(); a != nullptr; a = a->ai_next) {
        const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) {
            lastError = WSAGetLastError();
            continue;
        }
        lastError = ConnectWithin(s, *a, timeoutMs);
        if (lastError == 0) {
            m_socket = static_cast<std::intptr_t>(s);
            return Outcome::Connected;
        }
        closesocket(s);
    }
    why = ErrorText(lastError);
    return Outcome::Unreachable;
}

bool DisplaySocket::SendAll(const std::uint8_t* bytes, std::size_t count, std::string& why)
{
    while (count > 0) {
        const int chunk = count > 1u << 30 ? 1 << 30 : static_cast<int>(count);
        const int n = send(Native(m_socket), reinterpret_cast<const char*>(bytes), chunk, 0);
        if (n <= 0) {
            why = ErrorText(WSAGetLastError());
            return false;
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

int DisplaySocket::Receive(std::uint8_t* buffer, std::size_t size, int timeoutMs)
{
    bool failed = false;
    if (timeoutMs <= 0 || (!WaitFor(Native(m_socket), false, timeoutMs, failed) && !failed)) {
        return -1;
    }
    const int n = recv(Native(m_socket), reinterpret_cast<char*>(buffer), static_cast<int>(size), 0);
    // A reset after the reply still ends the exchange: the display has closed.
    return n <= 0 ? 0 : n;
}

bool DisplaySocket::Resolves(const std::string& host, std::string& why)
{
    const DisplaySocket started;  // Winsock is ready while it lives
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    AddrList addrs;
    if (const int rc = getaddrinfo(host.c_str(), nullptr, &hints, addrs.Out()); rc != 0) {
        why = ErrorText(rc);
        return false;
    }
    return true;
}
