// Where the server listens and whom it lets in.
#include <memory>
#include <thread>

#include "msg/msg_ids.h"
#include "net/log_texts.h"
#include "os/message_box.h"
#include "answering_proc.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

ListenRules Rules(const std::string& address, const std::vector<std::string>& allowed = {})
{
    ListenRules rules;
    if (!address.empty()) rules.address = ParseAddress(address);
    for (const std::string& text : allowed) {
        rules.allowed.push_back(*NetBlock::Parse(text));
    }
    return rules;
}

bool Ipv6LoopbackWorks()
{
    return PlainSocket::CanBind("::1");
}

struct ListenCase {
    const char* name;
    const char* address;
    std::vector<const char*> reachable;
    std::vector<const char*> unreachable;
};

class ListenAddress : public testing::TestWithParam<ListenCase> {};

TEST_P(ListenAddress, AcceptsOnlyWhereItListens)
{
    if (std::string(GetParam().address).find(':') != std::string::npos && !Ipv6LoopbackWorks()) {
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    AnsweringProc proc;
    CIOCPclass2016BC server;
    proc.m_pServer = &server;
    server.SetListenRules(Rules(GetParam().address));
    ASSERT_EQ(server.CreateField(0, &proc), 1);
    for (const char* address : GetParam().reachable) {
        LoopbackClient c(address, server.ListeningPort());
        ASSERT_TRUE(c.Connected()) << address;
        ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
        EXPECT_EQ(c.ReadUntilClosed(), AnsweringProc::SizeReply()) << address;
    }
    for (const char* address : GetParam().unreachable) {
        LoopbackClient c(address, server.ListeningPort());
        EXPECT_FALSE(c.Connected()) << address;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ListenAddress,
    testing::Values(ListenCase{"DefaultEveryIpv4Address", "", {"127.0.0.1", "127.0.0.2"}, {"::1"}},
                    ListenCase{"OneIpv4Address", "127.0.0.1", {"127.0.0.1"}, {"127.0.0.2", "::1"}},
                    ListenCase{"Ipv6Loopback", "::1", {"::1"}, {"127.0.0.1"}},
                    ListenCase{"BothFamilies", "::", {"::1", "127.0.0.1", "127.0.0.2"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// 192.0.2.1 is kept for documentation and belongs to no machine.
TEST(ListenAddress, AnAddressOfNoInterfaceHereFailsTheStart)
{
    SetMessageBoxHandler([](const std::u16string&) {});
    RecordingProc proc;
    CIOCPclass2016BC server;
    server.SetListenRules(Rules("192.0.2.1"));
    EXPECT_EQ(server.CreateField(0, &proc), 0);
    EXPECT_EQ(server.ListeningPort(), 0);
    SetMessageBoxHandler(nullptr);
}

struct AllowCase {
    const char* name;
    std::vector<std::string> allowed;
    const char* listen;
    const char* source;
    bool admitted;
};

class AllowedSenders : public testing::TestWithParam<AllowCase> {};

TEST_P(AllowedSenders, OnlyAllowedPeersReachTheProcessor)
{
    if (std::string(GetParam().listen).find(':') != std::string::npos && !Ipv6LoopbackWorks()) {
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    LogWatch log;
    AnsweringProc proc;
    CIOCPclass2016BC server;
    proc.m_pServer = &server;
    server.SetListenRules(Rules(GetParam().listen, GetParam().allowed));
    ASSERT_EQ(server.CreateField(0, &proc), 1);
    const bool v6 = std::string(GetParam().source).find(':') != std::string::npos;
    LoopbackClient c(v6 ? "::1" : "127.0.0.1", server.ListeningPort(), 0, GetParam().source);
    ASSERT_TRUE(c.Connected());
    c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE)));
    const Bytes got = c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    if (GetParam().admitted) {
        EXPECT_EQ(got, AnsweringProc::SizeReply());
        EXPECT_EQ(proc.Messages().size(), 1u);
        return;
    }
    EXPECT_TRUE(got.empty());
    ASSERT_TRUE(log.WaitFor(LogText::Refused(GetParam().source)));
    EXPECT_EQ(log.Count(LogText::Refused(GetParam().source)), 1);
    // Nothing of it reached the processor, not even its end.
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(proc.Messages().empty());
    EXPECT_TRUE(proc.Closed().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AllowedSenders,
    testing::Values(AllowCase{"NoListAdmitsEveryone", {}, "", "127.0.0.1", true},
                    AllowCase{"AddressOnTheList", {"127.0.0.2"}, "", "127.0.0.2", true},
                    AllowCase{"AddressNotOnTheList", {"127.0.0.2"}, "", "127.0.0.1", false},
                    AllowCase{"InsideABlock", {"10.0.0.0/8", "127.0.0.0/30"}, "", "127.0.0.3", true},
                    AllowCase{"OutsideEveryBlock", {"10.0.0.0/8", "127.0.0.0/30"}, "", "127.0.0.4", false},
                    AllowCase{"Ipv4PeerOfADualListener", {"127.0.0.2"}, "::", "127.0.0.2", true},
                    AllowCase{"Ipv4PeerOfADualListenerRefused", {"127.0.0.2"}, "::", "127.0.0.1", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
