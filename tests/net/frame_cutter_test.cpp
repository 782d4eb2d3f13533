// The receive side's cutting of a connection's stream into messages.
#include "net/frame_cutter.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "loopback_client.h"
#include "msg/msg_fields.h"

namespace {

Bytes Int32(std::int32_t v)
{
    Bytes b(4);
    WriteInt32LE(b.data(), v);
    return b;
}

Bytes Picture(std::size_t n)
{
    return Bytes(n, 0xC3);
}

Bytes Repeat(const Bytes& b, int n)
{
    Bytes all;
    for (int i = 0; i < n; ++i) {
        all = all + b;
    }
    return all;
}

// A frame whose JSON text is `jsonBytes` long, with a message id.
Bytes FrameWithJsonOf(std::size_t jsonBytes)
{
    std::string json = R"({"pub_MsgID":305,"1":")";
    json += std::string(jsonBytes - json.size() - 2, 'a') + "\"}";
    return MakeFrame(json);
}

// A message whose member "1" holds `depth` - 1 nested arrays, so the text nests `depth` deep.
Bytes NestedFrame(int depth)
{
    const std::size_t inner = static_cast<std::size_t>(depth - 1);
    return MakeFrame(R"({"pub_MsgID":303,"1":)" + std::string(inner, '[') + std::string(inner, ']') + "}");
}

struct CutCase {
    const char* name;
    // Arriving one after the other, each followed by a cut.
    std::vector<Bytes> pieces;
    // Ids of the messages cut after each piece.
    std::vector<std::vector<int>> ids;
    int rejected;
    bool discarded;
    // What waits at the front of the stream at the end.
    std::size_t left;
};

class FrameCutting : public testing::TestWithParam<CutCase> {};

TEST_P(FrameCutting, CutsChecksAndParsesEachWholeFrame)
{
    const CutCase& c = GetParam();
    StreamBuffer stream;
    FrameCutter cutter;
    CutResult last;
    int rejected = 0;
    for (std::size_t i = 0; i < c.pieces.size(); ++i) {
        stream.Append(c.pieces[i].data(), c.pieces[i].size());
        std::vector<CutMessage> out;
        last = cutter.Cut(stream, out);
        rejected += last.m_nRejected;
        std::vector<int> ids;
        for (const CutMessage& m : out) {
            ids.push_back(GetIntByName(*m.m_pMsg, kMsgIdKey));
            EXPECT_GT(m.m_nHeldBytes, 0u);
        }
        EXPECT_EQ(ids, c.ids[i]) << "after piece " << i;
    }
    EXPECT_EQ(rejected, c.rejected);
    EXPECT_EQ(last.m_bDiscarded, c.discarded);
    EXPECT_EQ(stream.Size(), c.left);
}

const Bytes kClear = MakeFrame(R"({"pub_MsgID":301})");
const Bytes kNote = MakeFrame(R"({"pub_MsgID":305})", Picture(120));
const Bytes kSize = MakeFrame(R"({"pub_MsgID":309})");
const Bytes kHeaderOnly = MakeFrame("");
const Bytes kOversize = FrameWithJsonOf(1024 * 1024 + 1);
const Bytes kLongNote = MakeFrame(R"({"pub_MsgID":305})", Picture(5000));

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FrameCutting,
    testing::Values(
        CutCase{"TwoWholeFramesAndAPartialThird",
                {kClear + kNote + Slice(kSize, 0, 11), Slice(kSize, 11, kSize.size())},
                {{301, 305}, {309}}, 0, false, 0},
        CutCase{"PartialFrameWaitsAtTheFront", {kClear + Slice(kSize, 0, 11)}, {{301}}, 0, false, 11},
        CutCase{"SixByteFrameIsCutAndRejected", {Bytes{6, 0, 0, 0, 0, 0}}, {{}}, 1, false, 0},
        CutCase{"ZeroLengthNeverFormsAFrame", {Int32(0) + kClear, kClear}, {{}, {}}, 0, false, 4 + 2 * kClear.size()},
        CutCase{"NegativeLengthNeverFormsAFrame", {Int32(-26) + kClear}, {{}}, 0, false, 4 + kClear.size()},
        CutCase{"MostNegativeLengthNeverFormsAFrame", {Int32(INT_MIN) + kClear}, {{}}, 0, false, 4 + kClear.size()},
        CutCase{"LongFrameWaitsUntilAllOfItHasArrived",
                {Slice(kLongNote, 0, 1000), Slice(kLongNote, 1000, 4000), Slice(kLongNote, 4000, kLongNote.size())},
                {{}, {}, {305}}, 0, false, 0},
        CutCase{"IdBelowOneIsDroppedButNotRejected",
                {MakeFrame(R"({"pub_MsgID":0})") + MakeFrame(R"({"x":1})") + kSize}, {{309}}, 0, false, 0},
        CutCase{"ShortAttachmentIsRejected", {MakeFrame(R"({"pub_MsgID":305})", Picture(99)) + kClear},
                {{301}}, 1, false, 0},
        CutCase{"JsonOf1MiBIsParsed", {FrameWithJsonOf(1024 * 1024)}, {{305}}, 0, false, 0},
        CutCase{"JsonPast1MiBIsRejected", {FrameWithJsonOf(1024 * 1024 + 1) + kClear}, {{301}}, 1, false, 0},
        CutCase{"JsonPast1MiBIsDroppedAsItArrives",
                {Slice(kOversize, 0, 8), Slice(kOversize, 8, 700000), Slice(kOversize, 700000, kOversize.size()) + kSize},
                {{}, {}, {309}}, 1, false, 0},
        CutCase{"Nesting64DeepIsParsed", {NestedFrame(64)}, {{303}}, 0, false, 0},
        CutCase{"Nesting65DeepIsRejected", {NestedFrame(65) + kClear}, {{301}}, 1, false, 0},
        CutCase{"BracketsInStringsAreText",
                {MakeFrame(R"({"pub_MsgID":303,"1":")" + std::string(100, '[') + R"(\"{{"})")}, {{303}}, 0, false, 0},
        CutCase{"TwentyRejectedAreDropped", {Repeat(kHeaderOnly, 20) + kSize}, {{309}}, 20, false, 0},
        CutCase{"TheTwentyFirstDiscardsTheRest", {Repeat(kHeaderOnly, 21) + kSize}, {{}}, 21, true, 0},
        CutCase{"CountIsPerCut", {Repeat(kHeaderOnly, 20), Repeat(kHeaderOnly, 20) + kSize}, {{}, {309}}, 40, false,
                0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
