#include "net/net_block.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct BlockCase {
    const char* block;
    const char* peer;
    bool contains;
};

class NetBlockMatch : public testing::TestWithParam<BlockCase> {};

TEST_P(NetBlockMatch, ContainsExactlyTheAddressesOfItsPrefix)
{
    const std::optional<NetBlock> block = NetBlock::Parse(GetParam().block);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->Contains(*ParseAddress(GetParam().peer)), GetParam().contains);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetBlockMatch,
    testing::Values(BlockCase{"127.0.0.2", "127.0.0.2", true}, BlockCase{"127.0.0.2", "127.0.0.1", false},
                    BlockCase{"192.168.1.0/24", "192.168.1.255", true},
                    BlockCase{"192.168.1.0/24", "192.168.2.0", false},
                    BlockCase{"10.1.2.3/16", "10.1.255.1", true},  // host bits of the base ignored
                    BlockCase{"10.0.0.0/9", "10.127.0.1", true}, BlockCase{"10.0.0.0/9", "10.128.0.1", false},
                    BlockCase{"0.0.0.0/0", "203.0.113.9", true}, BlockCase{"0.0.0.0/0", "::1", false},
                    BlockCase{"127.0.0.1", "::ffff:127.0.0.1", true},  // IPv4 peer of a dual listener
                    BlockCase{"127.0.0.1", "::1", false}, BlockCase{"::1", "::1", true},
                    BlockCase{"::1", "127.0.0.1", false}, BlockCase{"2001:db8::/32", "2001:db8:ffff::1", true},
                    BlockCase{"2001:db8::/32", "2001:db9::1", false}, BlockCase{"fe80::/10", "febf::1", true},
                    BlockCase{"fe80::/10", "fec0::1", false}, BlockCase{"::/0", "2001:db8::1", true},
                    BlockCase{"::/0", "10.0.0.1", false}));

class NetBlockParse : public testing::TestWithParam<const char*> {};

TEST_P(NetBlockParse, RefusesAnythingButAnAddressAndAPrefixOfItsWidth)
{
    EXPECT_FALSE(NetBlock::Parse(GetParam()).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Bad, NetBlockParse,
                         testing::Values("", "localhost", "127.0.0.1/33", "::1/129", "10.0.0.0/", "10.0.0.0/-1",
                                         "10.0.0.0/+8", "10.0.0.0/8x", "10.0.0.0 /8", "10.0.0", "256.0.0.1",
                                         "fe80::1%lo", "/8", "10.0.0.0/8/8", "127.1", "010.0.0.1",
                                         "0x7f.0.0.1", "1.2.3.4.5", "127.0.0.1:9977", "[::1]", "[::1]:9977",
                                         "::ffff:127.1", "::ffff:1.2.3.04"));

TEST(NetBlockAllowList, EmptyListAdmitsEveryone)
{
    EXPECT_TRUE(IsAllowed({}, *ParseAddress("198.51.100.7")));
    const std::vector<NetBlock> two = {*NetBlock::Parse("10.0.0.0/8"), *NetBlock::Parse("::1")};
    EXPECT_TRUE(IsAllowed(two, *ParseAddress("10.9.9.9")));
    EXPECT_TRUE(IsAllowed(two, *ParseAddress("::1")));
    EXPECT_FALSE(IsAllowed(two, *ParseAddress("11.0.0.1")));
}

}  // namespace
