#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "display/drawing/address_text.h"
#include "os/local_ipv4.h"

namespace {

TEST(CachedAddressText, LooksAgainWhileEmptyAndKeepsTheFirstAddresses)
{
    std::vector<std::string> answers{"", "", "192.168.1.20; 10.0.0.7", "172.16.0.1"};
    std::size_t calls = 0;
    CachedAddressText text([&] { return answers[calls++]; });
    EXPECT_EQ(text.Get(), u"");
    EXPECT_EQ(text.Get(), u"");
    EXPECT_EQ(text.Get(), u"192.168.1.20; 10.0.0.7");
    EXPECT_EQ(text.Get(), u"192.168.1.20; 10.0.0.7");
    EXPECT_EQ(calls, 3u);
}

TEST(GetLocalIPv4List, ListsDottedAddressesWithoutLoopback)
{
    const std::string list = GetLocalIPv4List();
    if (list.empty()) GTEST_SKIP() << "this machine has no IPv4 address besides loopback";
    const std::regex form(R"((\d{1,3}\.){3}\d{1,3}(; (\d{1,3}\.){3}\d{1,3})*)");
    EXPECT_TRUE(std::regex_match(list, form)) << list;
    EXPECT_EQ(list.find("127."), std::string::npos) << list;
}

}  // namespace
