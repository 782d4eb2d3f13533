#include "common/exchange.h"

#include "common/display_socket.h"

namespace {

std::string Seconds(std::chrono::milliseconds ms)
{
    const auto s = ms.count() / 1000;
    return std::to_string(s) + (s == 1 ? " second" : " seconds");
}

}  // namespace

bool ExchangeFrame(const std::string& host, int port, const FrameBuffer& frame, std::vector<std::uint8_t>& received,
                   std::string& error, const ExchangeLimits& limits)
{
    const std::string where = host + ":" + std::to_string(port);
    DisplaySocket socket;
    std::string why;
    switch (socket.Connect(host, port, static_cast<int>(limits.connect.count()), why)) {
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
    const auto deadline = std::chrono::steady_clock::now() + limits.reply;
    std::uint8_t buf[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int n = left.count() > 0 ? socket.Receive(buf, sizeof buf, static_cast<int>(left.count())) : -1;
        if (n < 0) {
            error = "the display at " + where + " did not close the connection within " + Seconds(limits.reply);
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (received.size() + static_cast<std::size_t>(n) > limits.maxBytes) {
            error = "the display at " + where + " sent more than " + std::to_string(limits.maxBytes) + " bytes";
            return false;
        }
        received.insert(received.end(), buf, buf + n);
    }
}
