#include "net/stream_buffer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "msg/frame_limits.h"

namespace {

std::vector<std::uint8_t> Counting(std::size_t n, std::uint8_t first = 0)
{
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), first);
    return v;
}

std::vector<std::uint8_t> Contents(const StreamBuffer& s)
{
    return {s.Data(), s.Data() + s.Size()};
}

TEST(StreamBuffer, KeepsBytesInArrivalOrderAcrossAppendsAndConsumes)
{
    StreamBuffer s;
    const auto bytes = Counting(250);
    std::size_t appended = 0;
    std::size_t consumed = 0;
    // Uneven pieces in, uneven frames out, as a connection sees them.
    for (std::size_t piece : {7u, 60u, 1u, 90u, 33u, 59u}) {
        s.Append(bytes.data() + appended, piece);
        appended += piece;
        const std::size_t take = s.Size() / 3;
        s.Consume(take);
        consumed += take;
        ASSERT_EQ(Contents(s), std::vector<std::uint8_t>(bytes.begin() + consumed, bytes.begin() + appended));
    }
}

TEST(StreamBuffer, ConsumingEverythingOrClearingLeavesItEmpty)
{
    StreamBuffer s;
    const auto bytes = Counting(100);
    s.Append(bytes.data(), bytes.size());
    s.Consume(1000);
    EXPECT_EQ(s.Size(), 0u);
    s.Append(bytes.data(), 10);
    EXPECT_EQ(Contents(s), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 10));
    s.Clear();
    EXPECT_EQ(s.Size(), 0u);
}

struct LimitCase {
    const char* name;
    std::int64_t announced;  // the int32 at the front, when there is one
    std::size_t count;       // bytes held
    bool tooLarge;
};

class StreamLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(StreamLimit, EndsOnlyStreamsThatCanNeverFormAFrameWithinTheLimit)
{
    const LimitCase& c = GetParam();
    std::vector<std::uint8_t> bytes(c.count);
    if (c.count >= 4) {
        WriteInt32LE(bytes.data(), static_cast<std::int32_t>(c.announced));
    }
    EXPECT_EQ(FrameLimit::StreamTooLarge(bytes.data(), bytes.size()), c.tooLarge);
}

constexpr std::int64_t kLimit = FrameLimit::kMaxFrameBytes;

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamLimit,
    testing::Values(LimitCase{"ShortHeader", 0, 3, false}, LimitCase{"AnnouncesTheLimit", kLimit, 8, false},
                    LimitCase{"AnnouncesOneByteMore", kLimit + 1, 4, true},
                    LimitCase{"AnnouncesTheLargestInt", 0x7fffffff, 6, true},
                    LimitCase{"NeverAFrameButWithinLimit", 0, 1000, false},
                    LimitCase{"NeverAFramePastTheLimit", -1, static_cast<std::size_t>(kLimit) + 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
