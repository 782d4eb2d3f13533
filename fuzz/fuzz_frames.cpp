// Feeds arbitrary bytes to the receive side as a connection's stream reaches it: the
// server's own cutter cuts, checks (frame, JSON length and nesting bounds included) and
// parses the frames, and every field getter is read of each message that would reach
// the processor. Such a message must survive being sent back: its frame is accepted
// again and carries the same identifier and attachment.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"
#include "net/frame_cutter.h"
#include "net/stream_buffer.h"

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

void CheckMessage(const CommMsg_base& msg)
{
    Require(GetIntByName(msg, kMsgIdKey) >= 1, "message without an identifier handed on");
    Require(msg.m_nAttachLen == 0 || msg.m_nAttachLen >= 100, "short attachment accepted");
    ReadEveryField(msg);
    CheckRoundTrip(msg);
}

// The bytes arrive in two pieces, split where the stream's last byte says, as a
// connection may receive them.
void CutStream(const std::uint8_t* data, std::size_t size)
{
    StreamBuffer stream;
    FrameCutter cutter;
    std::vector<CutMessage> out;
    const std::size_t split = size == 0 ? 0 : data[size - 1] % (size + 1);
    for (const auto& [from, count] : {std::pair{std::size_t{0}, split}, std::pair{split, size - split}}) {
        stream.Append(data + from, count);
        cutter.Cut(stream, out);
    }
    for (const CutMessage& m : out) {
        CheckMessage(*m.m_pMsg);
    }
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
    CutStream(data, size);
    // The checks of a frame do not read its total-length field, so the whole input is
    // also tried as one frame, its length field made to fit.
    if (size >= 8 && size <= static_cast<std::size_t>(INT32_MAX)) {
        std::vector<std::uint8_t> frame(data, data + size);
        WriteInt32LE(frame.data(), static_cast<std::int32_t>(size));
        CutStream(frame.data(), frame.size());
    }
    return 0;
}
