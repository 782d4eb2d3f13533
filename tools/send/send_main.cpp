// pavlune-send: speaks the display's protocol from the scoring program's side.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "send_args.h"
#include "send_exchange.h"

namespace {

// The display refuses attachments of 1 to 99 bytes; a real picture is larger.
constexpr std::size_t kMinPicture = 100;

bool LoadAttachment(SendArgs& args, std::string& error)
{
    std::ifstream in(args.attachPath, std::ios::binary);
    if (!in) {
        error = "cannot read " + args.attachPath;
        return false;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + args.attachPath;
        return false;
    }
    if (args.command != "raw" && bytes.size() < kMinPicture) {
        error = args.attachPath + " has " + std::to_string(bytes.size()) + " bytes; a picture has at least " +
                std::to_string(kMinPicture);
        return false;
    }
    if (!bytes.empty()) {
        args.msg.SetAttachment(bytes.data(), static_cast<int>(bytes.size()));
    }
    return true;
}

// Every acceptable frame in what the display sent back, in order.
std::vector<std::unique_ptr<CommMsg_base>> CutReplies(const std::vector<std::uint8_t>& received)
{
    std::vector<std::unique_ptr<CommMsg_base>> replies;
    std::size_t at = 0;
    for (int length; (length = NextFrameLength(received.data() + at, received.size() - at)) > 0; at += length) {
        FrameBuffer frame;
        frame.Assign(received.data() + at, length);
        auto msg = std::make_unique<CommMsg_base>();
        if (frame.ToMessage(*msg)) {
            replies.push_back(std::move(msg));
        }
    }
    return replies;
}

int Fail(int code, const std::string& reason)
{
    std::cerr << "pavlune-send: " << reason << "\n";
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    SendArgs args;
    std::string error;
    if (!ParseSendArgs(argc, argv, args, error)) {
        return Fail(2, error + " (pavlune-send --help lists the commands)");
    }
    if (args.help) {
        std::cout << kSendHelp;
        return 0;
    }
    if (!args.attachPath.empty() && !LoadAttachment(args, error)) {
        return Fail(1, error);
    }
    FrameBuffer frame;
    frame.FromMessage(args.msg);
    if (frame.Length() <= 0) {
        return Fail(1, "the message is too large for one frame");
    }
    std::vector<std::uint8_t> received;
    if (!ExchangeFrame(args.host, args.port, frame, received, error)) {
        return Fail(1, error);
    }
    const auto replies = CutReplies(received);
    if (args.command == "size") {
        for (const auto& reply : replies) {
            if (GetIntByName(*reply, kMsgIdKey) == MSGID_SCREEN_SIZE) {
                std::cout << GetIntField(*reply, MsgKey::kScreenWidth) << "x"
                          << GetIntField(*reply, MsgKey::kScreenHeight) << "\n";
                return 0;
            }
        }
        return Fail(1, "the display closed the connection without telling its screen size");
    }
    if (args.command == "raw") {
        for (const auto& reply : replies) {
            std::cout << reply->ToJsonText();
        }
    }
    return 0;
}
