// Feeds arbitrary bytes to the receive side as a connection's stream reaches it: frames
// are cut with NextFrameLength, checked and parsed with ToMessage, and every field getter
// is read. A message that was accepted must survive being sent back: its frame is
// accepted again and carries the same identifier and attachment.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "msg/comm_msg.h"
#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_frames: %s\n", what);
        std::abort();
    }
}

// Every key of the message vocabulary, and every member the frame itself brought.
void ReadEveryField(const CommMsg_base& msg)
{
    for (int key : {0, 1, 2, 11, 13, 14, 16, 18, 21, 22, 26, 31, 32, 33, 71, 72, 79, 99}) {
        GetIntField(msg, key);
        GetBoolField(msg, key);
        TextToColor(GetStringField(msg, key));
    }
    GetIntByName(msg, kMsgIdKey);
    if (msg.isObject()) {
        for (const std::string& name : msg.getMemberNames()) {
            GetIntByName(msg, name);
            TextToColor(GetStringByName(msg, name));
        }
    }
}

void CheckRoundTrip(const CommMsg_base& msg)
{
    FrameBuffer reply;
    reply.FromMessage(msg);
    CommMsg_base again;
    again.ResetMsg(0);
    Require(reply.ToMessage(again), "the frame of an accepted message is rejected");
    Require(GetIntByName(again, kMsgIdKey) == GetIntByName(msg, kMsgIdKey), "identifier changed on the way back");
    Require(again.m_nAttachLen == msg.m_nAttachLen, "attachment length changed on the way back");
    Require(msg.m_nAttachLen == 0 ||
                std::memcmp(again.m_pAttach.get(), msg.m_pAttach.get(), static_cast<std::size_t>(msg.m_nAttachLen)) == 0,
            "attachment bytes changed on the way back");
}

void CheckFrame(const std::uint8_t* bytes, int length)
{
    FrameBuffer frame;
    frame.Assign(bytes, length);
    CommMsg_base msg;
    msg.ResetMsg(0);
    if (!frame.ToMessage(msg)) {
        return;
    }
    Require(msg.m_nAttachLen == 0 || msg.m_nAttachLen >= 100, "short attachment accepted");
    ReadEveryField(msg);
    CheckRoundTrip(msg);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Invalid UTF-8 is the fuzzer's daily bread; its "Conversion error" line would flood
    // the output. glibc lets the stream be replaced; libFuzzer and the sanitizers keep
    // reporting on the real descriptor 2.
    if (FILE* devNull = std::fopen("/dev/null", "w")) {
        stderr = devNull;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The checks of a frame do not read its total-length field, so the whole input is
    // also tried as one frame, whatever that field says.
    if (size <= static_cast<std::size_t>(INT32_MAX)) {
        CheckFrame(data, static_cast<int>(size));
    }
    std::size_t offset = 0;
    while (offset < size) {
        const int length = NextFrameLength(data + offset, size - offset);
        if (length < 0) {
            break;
        }
        Require(length >= 1 && static_cast<std::size_t>(length) <= size - offset, "frame length outside the stream");
        CheckFrame(data + offset, length);
        offset += static_cast<std::size_t>(length);
    }
    return 0;
}
