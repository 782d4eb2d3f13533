#include "send_delivery.h"

#include <memory>
#include <vector>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "msg/frame_limits.h"
#include "picture_letterbox.h"
#include "draw/picture_codec.h"
#include "screen_picture.h"
#include "common/exchange.h"
#include "common/replies.h"
#include "status_lines.h"

namespace {

// The largest canvas --fit paints; a display that reports more is not believed.
constexpr int kMaxCanvasSide = 16384;

struct ScreenSize {
    int width = 0;
    int height = 0;
};

bool AskSize(const SendTarget& target, ScreenSize& size, std::string& error)
{
    CommMsg_base request;
    request.ResetMsg(MSGID_SCREEN_SIZE);
    const FrameBuffer frame = BuildFrame(request, error);
    std::vector<std::uint8_t> received;
    if (!ExchangeFrame(target.host, target.port, frame, received, error)) {
        return false;
    }
    const auto replies = CutReplies(received);
    const Reply* reply = FindReply(replies, MSGID_SCREEN_SIZE);
    if (reply == nullptr) {
        error = "the display at " + target.Name() + " closed the connection without telling its screen size";
        return false;
    }
    size = {GetIntField(*reply->msg, MsgKey::kScreenWidth), GetIntField(*reply->msg, MsgKey::kScreenHeight)};
    return true;
}

Delivery Failed(std::string reason) { return {false, std::move(reason)}; }

// A display that does not know the request, has it turned off or refuses this sender
// closes without a reply; which of them it is, the sender cannot tell.
Delivery NoAnswer(const SendTarget& target, const char* requests)
{
    return Failed(target.Name() + " does not answer " + requests + " requests");
}

}  // namespace

FrameBuffer BuildFrame(const CommMsg_base& msg, std::string& error)
{
    FrameBuffer frame;
    frame.FromMessage(msg);
    if (frame.Length() <= 0 || frame.Length() > FrameLimit::kMaxFrameBytes) {
        error = "the message is larger than the 64 MiB a display accepts";
        return {};
    }
    return frame;
}

Delivery Deliver(const SendTarget& target, const SendArgs& args, const FrameBuffer& frame, const Image32& fitPicture)
{
    std::string error;
    FrameBuffer fitted;
    if (args.fit) {
        ScreenSize size;
        if (!AskSize(target, size, error)) {
            return Failed(error);
        }
        if (size.width < 1 || size.height < 1 || size.width > kMaxCanvasSide || size.height > kMaxCanvasSide) {
            return Failed("the display at " + target.Name() + " reports a screen of " + std::to_string(size.width) +
                          "x" + std::to_string(size.height) + ", which no picture can be fitted to");
        }
        CommMsg_base note;
        static_cast<Json::Value&>(note) = args.msg;
        std::vector<std::uint8_t> png;
        if (!EncodePng(LetterboxImage(fitPicture, size.width, size.height, args.background), png)) {
            return Failed("the picture fitted to " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                          " for the display at " + target.Name() + " could not be encoded as PNG");
        }
        note.SetAttachment(png.data(), static_cast<int>(png.size()));
        fitted = BuildFrame(note, error);
        if (fitted.Length() <= 0) {
            return Failed(error);
        }
    }
    std::vector<std::uint8_t> received;
    if (!ExchangeFrame(target.host, target.port, args.fit ? fitted : frame, received, error)) {
        return Failed(error);
    }
    const auto replies = CutReplies(received);
    if (args.command == "size") {
        const Reply* reply = FindReply(replies, MSGID_SCREEN_SIZE);
        if (reply == nullptr) {
            return Failed("the display at " + target.Name() + " closed the connection without telling its screen size");
        }
        return {true, std::to_string(GetIntField(*reply->msg, MsgKey::kScreenWidth)) + "x" +
                          std::to_string(GetIntField(*reply->msg, MsgKey::kScreenHeight))};
    }
    if (args.command == "screenshot") {
        const Reply* reply = FindReply(replies, MSGID_SCREEN_PICTURE);
        if (reply == nullptr) {
            return NoAnswer(target, "screen picture");
        }
        return SaveScreenPicture(target, *reply->msg, target.shotFile, args.targets.size() > 1);
    }
    if (args.command == "status") {
        const Reply* reply = FindReply(replies, MSGID_STATUS);
        if (reply == nullptr) {
            return NoAnswer(target, "status");
        }
        if (!args.json) {
            return {true, StatusLines(*reply->msg)};
        }
        // The display ends its JSON with a line feed; the line is printed with one.
        std::string json = reply->jsonText;
        while (!json.empty() && (json.back() == '\n' || json.back() == '\r' || json.back() == ' ')) {
            json.pop_back();
        }
        return {true, json};
    }
    std::string line;
    if (args.command == "raw") {
        for (const auto& reply : replies) {
            std::string json = reply.msg->ToJsonText();
            json.pop_back();
            line += (line.empty() ? "" : " ") + json;
        }
    }
    return {true, line};
}
