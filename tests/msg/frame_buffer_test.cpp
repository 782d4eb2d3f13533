#include "msg/frame_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Int32LE(std::int32_t v)
{
    Bytes b(4);
    WriteInt32LE(b.data(), v);
    return b;
}

// Header with the given fields, then the JSON text, then the tail bytes.
Bytes RawFrame(std::int32_t total, std::int32_t attach, const std::string& json, const Bytes& tail = {})
{
    Bytes b = Int32LE(total);
    const Bytes a = Int32LE(attach);
    b.insert(b.end(), a.begin(), a.end());
    b.insert(b.end(), json.begin(), json.end());
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

// A correct frame of the JSON text and attachment.
Bytes WireFrame(const std::string& json, const Bytes& attachment = {})
{
    const auto total = static_cast<std::int32_t>(8 + json.size() + attachment.size());
    return RawFrame(total, static_cast<std::int32_t>(attachment.size()), json, attachment);
}

FrameBuffer Buffer(const Bytes& bytes)
{
    FrameBuffer f;
    f.Assign(bytes.data(), static_cast<int>(bytes.size()));
    return f;
}

Bytes Held(const FrameBuffer& f)
{
    return f.Bytes() ? Bytes(f.Bytes(), f.Bytes() + f.Length()) : Bytes();
}

Bytes Picture(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) {
        b[i] = static_cast<std::uint8_t>(0xFF - i);
    }
    return b;
}

TEST(FromMessageTest, EighteenByteTextMakesATwentySixByteFrame)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_CLEAR);
    const std::string json = "{\"pub_MsgID\":301}\n";
    ASSERT_EQ(msg.ToJsonText(), json);
    ASSERT_EQ(json.size(), 18u);

    FrameBuffer frame;
    frame.FromMessage(msg);
    Bytes expected = {0x1A, 0, 0, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), json.begin(), json.end());
    EXPECT_EQ(Held(frame), expected);

    CommMsg_base back;
    back.ResetMsg(0);
    ASSERT_TRUE(frame.ToMessage(back));
    EXPECT_EQ(GetIntByName(back, kMsgIdKey), MSGID_CLEAR);
    EXPECT_EQ(back.m_nAttachLen, 0);
    EXPECT_EQ(back.m_pAttach, nullptr);
}

TEST(FromMessageTest, ScreenSizeReplyIsFortySixBytes)
{
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, 1920);
    SetIntField(reply, MsgKey::kScreenHeight, 1080);
    FrameBuffer frame;
    frame.FromMessage(reply);

    const std::string json = "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n";
    Bytes expected = {0x2E, 0, 0, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), json.begin(), json.end());
    EXPECT_EQ(frame.Length(), 46);
    EXPECT_EQ(Held(frame), expected);
}

TEST(FromMessageTest, AttachmentFollowsTheText)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_NOTE_PAGE);
    const Bytes picture = Picture(100);
    msg.SetAttachment(picture.data(), 100);
    const std::string json = msg.ToJsonText();

    FrameBuffer frame;
    frame.FromMessage(msg);
    EXPECT_EQ(Held(frame), WireFrame(json, picture));
}

TEST(FromMessageTest, ShortAttachmentIsBuiltUnchangedButNotAccepted)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_NOTE_PAGE);
    const Bytes small = Picture(50);
    msg.SetAttachment(small.data(), 50);
    FrameBuffer frame;
    frame.FromMessage(msg);
    EXPECT_EQ(Held(frame), WireFrame(msg.ToJsonText(), small));

    CommMsg_base back;
    back.ResetMsg(0);
    EXPECT_FALSE(frame.ToMessage(back));
}

TEST(FromMessageTest, RefillingReplacesTheEarlierFrame)
{
    CommMsg_base big;
    big.ResetMsg(MSGID_NOTE_PAGE);
    const Bytes picture = Picture(200);
    big.SetAttachment(picture.data(), 200);
    CommMsg_base small;
    small.ResetMsg(MSGID_CLEAR);

    FrameBuffer frame;
    frame.FromMessage(big);
    frame.FromMessage(small);
    EXPECT_EQ(frame.Length(), 26);
    EXPECT_EQ(Held(frame), WireFrame(small.ToJsonText()));
}

TEST(ToMessageTest, TakesTheTextAndTheAttachmentFromTheirPlaces)
{
    const std::string json = R"({"pub_MsgID":305}   )";
    ASSERT_EQ(json.size(), 20u);
    const Bytes picture = Picture(100);
    const Bytes bytes = WireFrame(json, picture);
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(ReadInt32LE(bytes.data()), 128);
    EXPECT_EQ(ReadInt32LE(bytes.data() + 4), 100);

    const FrameBuffer frame = Buffer(bytes);
    CommMsg_base msg;
    msg.ResetMsg(0);
    ASSERT_TRUE(frame.ToMessage(msg));
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), MSGID_NOTE_PAGE);
    ASSERT_EQ(msg.m_nAttachLen, 100);
    EXPECT_EQ(Bytes(msg.m_pAttach.get(), msg.m_pAttach.get() + 100), picture);
    EXPECT_EQ(Held(frame), bytes) << "the buffer is not changed";
}

TEST(ToMessageTest, TotalLengthFieldIsNotRead)
{
    for (std::int32_t total : {0, -1, 5, 1000, INT_MAX}) {
        const FrameBuffer frame = Buffer(RawFrame(total, 0, R"({"pub_MsgID":301})"));
        CommMsg_base msg;
        msg.ResetMsg(0);
        EXPECT_TRUE(frame.ToMessage(msg)) << total;
        EXPECT_EQ(GetIntByName(msg, kMsgIdKey), MSGID_CLEAR);
    }
}

// A 20-byte text followed by 150 filler spaces: N = 178, and the attachment field decides
// where the text ends. Spaces keep the longer texts valid JSON with the same identifier.
struct AttachCase {
    std::string name;
    std::int32_t attach;
    bool accepted;
};

class AttachmentBoundsTest : public testing::TestWithParam<AttachCase> {};

TEST_P(AttachmentBoundsTest, AcceptsOnlyAWholeAttachmentOfAtLeastAHundredBytes)
{
    const std::string json = R"({"pub_MsgID":305}   )";
    const Bytes bytes = RawFrame(178, GetParam().attach, json, Bytes(150, ' '));
    ASSERT_EQ(bytes.size(), 178u);
    const FrameBuffer frame = Buffer(bytes);

    CommMsg_base msg;
    msg.ResetMsg(0);
    testing::internal::CaptureStderr();
    const bool accepted = frame.ToMessage(msg);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(accepted, GetParam().accepted);
    if (accepted) {
        EXPECT_EQ(GetIntByName(msg, kMsgIdKey), MSGID_NOTE_PAGE);
        EXPECT_EQ(msg.m_nAttachLen, GetParam().attach);
    } else {
        EXPECT_EQ(msg.m_pAttach, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, AttachmentBoundsTest,
    testing::Values(AttachCase{"None", 0, true}, AttachCase{"One", 1, false}, AttachCase{"NinetyNine", 99, false},
                    AttachCase{"Hundred", 100, true}, AttachCase{"AllFiller", 150, true},
                    AttachCase{"EmptyText", 170, false}, AttachCase{"IntoTheHeaderByOne", 171, false},
                    AttachCase{"WholeFrame", 178, false}, AttachCase{"Largest", INT_MAX, false},
                    AttachCase{"MinusOne", -1, false}, AttachCase{"Smallest", INT_MIN, false}),
    [](const testing::TestParamInfo<AttachCase>& info) { return info.param.name; });

struct FrameCase {
    std::string name;
    Bytes bytes;
    bool accepted;
    int msgId;
};

class ToMessageTest : public testing::TestWithParam<FrameCase> {};

TEST_P(ToMessageTest, ChecksTheFrame)
{
    const FrameBuffer frame = Buffer(GetParam().bytes);
    CommMsg_base msg;
    msg.ResetMsg(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(frame.ToMessage(msg), GetParam().accepted);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), GetParam().msgId);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ToMessageTest,
    testing::Values(FrameCase{"Empty", {}, false, 0}, FrameCase{"SixBytes", {6, 0, 0, 0, 0, 0}, false, 0},
                    FrameCase{"SevenBytes", {7, 0, 0, 0, 0, 0, 0}, false, 0},
                    FrameCase{"HeaderAlone", WireFrame(""), false, 0},
                    FrameCase{"OneByteText", WireFrame("7"), true, 0},
                    FrameCase{"InvalidUtf8", WireFrame("{\"pub_MsgID\":303,\"1\":\"\xC0\x80\"}"), false, 0},
                    FrameCase{"EncodedSurrogate", WireFrame("{\"pub_MsgID\":303,\"1\":\"\xED\xA0\x80\"}"), false, 0},
                    FrameCase{"ValidUtf8NotJson", WireFrame("第一轮"), true, 0},
                    FrameCase{"CutShortAfterIdentifier", WireFrame(R"({"pub_MsgID":303,"1":"第)"), true, 303},
                    FrameCase{"Comments", WireFrame("/* a */{\"pub_MsgID\":309} // b"), true, 309},
                    FrameCase{"IdentifierAsText", WireFrame(R"({"pub_MsgID":"309"})"), true, 0},
                    FrameCase{"IdentifierOutOfRange", WireFrame(R"({"pub_MsgID":4294967605})"), true, 0},
                    FrameCase{"RootArray", WireFrame(R"([301])"), true, 0},
                    FrameCase{"DeepNesting", WireFrame(R"({"pub_MsgID":303,"2":)" + std::string(3000, '[')), true, 303}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(ToMessageTest, InvalidTextWritesTheConversionErrorLine)
{
    const FrameBuffer frame = Buffer(WireFrame("{\"1\":\"caf\xE9\"}"));
    CommMsg_base msg;
    msg.ResetMsg(0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(frame.ToMessage(msg));
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Conversion error: ", 0), 0u);
}

struct StreamCase {
    std::string name;
    Bytes stream;
    int length;
};

class NextFrameLengthTest : public testing::TestWithParam<StreamCase> {};

TEST_P(NextFrameLengthTest, FindsAWholeFrameAtTheFront)
{
    const Bytes& s = GetParam().stream;
    EXPECT_EQ(NextFrameLength(s.data(), s.size()), GetParam().length);
}

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes WithoutLastByte(Bytes b)
{
    b.pop_back();
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, NextFrameLengthTest,
    testing::Values(StreamCase{"Nothing", {}, -1}, StreamCase{"FiveBytes", {5, 0, 0, 0, 0}, -1},
                    StreamCase{"SixBytesOfSix", {6, 0, 0, 0, 0, 0}, 6},
                    StreamCase{"SixBytesOfSeven", {7, 0, 0, 0, 0, 0}, -1},
                    StreamCase{"LengthOne", {1, 0, 0, 0, 0, 0}, 1},
                    StreamCase{"WholeFrame", WireFrame(R"({"pub_MsgID":301})"), 25},
                    StreamCase{"FrameAndMore", Concat(WireFrame("{}"), Bytes(30, 'x')), 10},
                    StreamCase{"ShortByOne", WithoutLastByte(WireFrame("{}")), -1},
                    StreamCase{"Zero", Concat(Int32LE(0), Bytes(100, 0)), -1},
                    StreamCase{"MinusOne", Concat(Int32LE(-1), Bytes(100, 0)), -1},
                    StreamCase{"MostNegative", Concat(Int32LE(INT_MIN), Bytes(100, 0)), -1},
                    StreamCase{"Largest", Concat(Int32LE(INT_MAX), Bytes(100, 0)), -1},
                    StreamCase{"HighBitSet", {0x10, 0, 0, 0x80, 0, 0, 0, 0}, -1}),
    [](const testing::TestParamInfo<StreamCase>& info) { return info.param.name; });

TEST(NextFrameLengthTest, NoBytesAtAll)
{
    EXPECT_EQ(NextFrameLength(nullptr, 100), -1);
}

}  // namespace
