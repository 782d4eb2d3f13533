// The least a desk can cost: every room's status asked every two seconds, one after the
// other, over the same exchange the desk uses, and nothing kept, served or drawn.
//   status_poll PORT...
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/exchange.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"

int main(int argc, char** argv)
{
    std::vector<int> ports;
    for (int i = 1; i < argc; ++i) ports.push_back(std::atoi(argv[i]));
    CommMsg_base request;
    request.ResetMsg(MSGID_STATUS);
    FrameBuffer frame;
    frame.FromMessage(request);
    auto next = std::chrono::steady_clock::now();
    for (;;) {
        for (const int port : ports) {
            std::vector<std::uint8_t> received;
            std::string error;
            ExchangeFrame("127.0.0.1", port, frame, received, error);
        }
        next += std::chrono::seconds(2);
        std::this_thread::sleep_until(next);
    }
}
