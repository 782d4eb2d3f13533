#include "send_exchange.h"

#include <chrono>

#include "send_socket.h"

namespace {

constexpr int kConnectTimeoutMs = 5000;
// The display closes about 50 ms after it has handled a message; a busy one queues.
constexpr auto kCloseTimeout = std::chrono::seconds(10);

}  // namespace

bool ExchangeFrame(const std::string& host, int port, const FrameBuffer& frame, std::vector<std::uint8_t>& received,
                   std::string& error)
{
    const std::string where = host + ":" + std::to_string(port);
    DisplaySocket socket;
    std::string why;
    switch (socket.Connect(host, port, kConnectTimeoutMs, why)) {
    case DisplaySocket::Outcome::NotFound:
        error = "cannot find the display at " + where + ": " + why;
        return false;
    case DisplaySocket::Outcome::Unreachable:
        error = "cannot reach the display at " + where + ": " + why;
        return false;
    case DisplaySocket::Outcome::Connected:
        break;
    }
    if (!socket.SendAll(frame.Bytes(), static_cast<std::size_t>(frame.Length()), why)) {
        error = "the display at " + where + " closed the connection while the message was sent: " + why;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kCloseTimeout;
    std::uint8_t buf[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int n = socket.Receive(buf, sizeof buf, static_cast<int>(left.count()));
        if (n < 0) {
            error = "the display at " + where + " did not close the connection within 10 seconds";
            return false;
        }
        if (n == 0) {
            return true;
        }
        received.insert(received.end(), buf, buf + n);
    }
}
