#include "net/diag_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/log_texts.h"
#include "os/clock.h"
#include "text/wide_text.h"

namespace {

// An empty log and a frozen clock, so that every prefix is known.
class DiagLogTest : public testing::Test {
protected:
    void SetUp() override
    {
        DiagLog::ResetForTest();
        Clock::Set(kNow);
    }
    void TearDown() override
    {
        Clock::UseSystemTime();
        DiagLog::ResetForTest();
    }

    static std::u16string Prefix(int number)
    {
        return u"[" + Utf8ToWide(kNow.Text()) + u" 行=" + IntToWide(number) + u"]";
    }
    // The number in a line's prefix.
    static int NumberOf(const std::u16string& line)
    {
        const std::size_t at = line.find(u"行=");
        const std::size_t end = line.find(u']');
        if (at == std::u16string::npos || end == std::u16string::npos || end < at) {
            return -1;
        }
        return std::stoi(WideToUtf8(line.substr(at + 2, end - at - 2)));
    }
    static void WriteNumbered(int count)
    {
        for (int i = 0; i < count; ++i) {
            WriteLog(u" line");
        }
    }

    static inline const DateTime kNow = DateTime::FromLocal(2026, 12, 9, 23, 46, 2);
};

TEST_F(DiagLogTest, LineIsPrefixThenMessage)
{
    WriteLog(LogText::WithCode(LogText::kBindFailed, 10048));
    WriteLog(LogText::kListenClosed);
    const std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], u"[2026/12/9 23:46:02 行=1] bind() failed:10048");
    EXPECT_EQ(lines[1], u"[2026/12/9 23:46:02 行=2]关闭监听端口!");
    EXPECT_EQ(lines[0][20], u'\u884C');
}

TEST_F(DiagLogTest, StampFollowsTheClock)
{
    WriteLog(u" a");
    Clock::Advance(61);
    WriteLog(u" b");
    const std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], u"[2026/12/9 23:47:03 行=2] b");
}

TEST_F(DiagLogTest, NumbersWrapAfterOneMillionAndOne)
{
    DiagLog::ResetForTest(999999);
    WriteNumbered(4);
    const std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Prefix(1000000) + u" line");
    EXPECT_EQ(lines[1], Prefix(1000001) + u" line");
    EXPECT_EQ(lines[2], Prefix(1) + u" line");
    EXPECT_EQ(lines[3], Prefix(2) + u" line");
}

TEST_F(DiagLogTest, KeepsAtMost3001LinesDroppingTheOldest)
{
    WriteNumbered(3000);
    EXPECT_EQ(DiagLog::Lines().size(), 3000u);
    WriteNumbered(1);
    std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 3001u);
    EXPECT_EQ(NumberOf(lines.front()), 1);

    WriteNumbered(1);
    lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 3001u);
    EXPECT_EQ(NumberOf(lines.front()), 2);
    EXPECT_EQ(NumberOf(lines.back()), 3002);

    WriteNumbered(5000 - 3002);
    lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 3001u);
    EXPECT_EQ(NumberOf(lines.front()), 2000);
    EXPECT_EQ(NumberOf(lines.back()), 5000);
}

TEST_F(DiagLogTest, BoundHoldsAcrossTheWrap)
{
    DiagLog::ResetForTest(1000001 - 1500);
    WriteNumbered(4000);
    const std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), 3001u);
    EXPECT_EQ(NumberOf(lines.front()), 1000001 - 1500 + 1000);
    EXPECT_EQ(NumberOf(lines.back()), 4000 - 1500);
}

TEST_F(DiagLogTest, ConcurrentWritersGiveWholeLinesWithConsecutiveNumbers)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 700;
    std::vector<std::u16string> heard;
    std::mutex mtxHeard;
    const int id = DiagLog::Subscribe([&](const std::u16string& line) {
        std::lock_guard lock(mtxHeard);
        heard.push_back(line);
    });

    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            const std::u16string tag = u" writer " + IntToWide(t) + u" line ";
            for (int i = 0; i < kEach; ++i) {
                WriteLog(tag + IntToWide(i) + u" " + std::u16string(40, u'a' + t));
            }
        });
    }
    for (std::thread& w : writers) {
        w.join();
    }
    DiagLog::Unsubscribe(id);

    const std::vector<std::u16string> lines = DiagLog::Lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEach));
    int nextOf[kThreads] = {};
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::u16string& line = lines[n];
        ASSERT_EQ(NumberOf(line), static_cast<int>(n) + 1) << WideToUtf8(line);
        const std::size_t body = line.find(u"] writer ");
        ASSERT_NE(body, std::u16string::npos) << WideToUtf8(line);
        const int t = line[body + 9] - u'0';
        ASSERT_TRUE(t >= 0 && t < kThreads) << WideToUtf8(line);
        EXPECT_EQ(line.substr(body + 1),
                  u" writer " + IntToWide(t) + u" line " + IntToWide(nextOf[t]) + u" " + std::u16string(40, u'a' + t))
            << "each line whole, each writer's lines in its order";
        ++nextOf[t];
    }
    EXPECT_EQ(heard, lines) << "listeners hear the lines in the order of their numbers";
}

TEST_F(DiagLogTest, ListenerHearsWholeLinesUntilUnsubscribed)
{
    std::vector<std::u16string> heard;
    const int id = DiagLog::Subscribe([&](const std::u16string& line) { heard.push_back(line); });
    WriteLog(LogText::kListenClosed);
    DiagLog::Unsubscribe(id);
    WriteLog(LogText::kPortClosed);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], Prefix(1) + u"关闭监听端口!");
    EXPECT_EQ(DiagLog::Lines().size(), 2u) << "the log itself keeps every line";
}

TEST_F(DiagLogTest, UnsubscribeWaitsForACallInProgress)
{
    std::atomic<bool> running{false};
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
    const int id = DiagLog::Subscribe([&](const std::u16string&) {
        running = true;
        while (!release) {
            std::this_thread::yield();
        }
        finished = true;
    });
    std::thread writer([] { WriteLog(u" slow"); });
    while (!running) {
        std::this_thread::yield();
    }
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        release = true;
    });
    DiagLog::Unsubscribe(id);
    EXPECT_TRUE(finished) << "the listener was still running after Unsubscribe returned";
    releaser.join();
    writer.join();
}

struct CatalogueCase {
    std::u16string line;
    std::u16string expected;
};

class LogTextTest : public testing::TestWithParam<CatalogueCase> {};

TEST_P(LogTextTest, FixedTextThenValue)
{
    EXPECT_EQ(GetParam().line, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, LogTextTest,
    testing::Values(CatalogueCase{LogText::WithCode(LogText::kBindFailed, 10048), u" bind() failed:10048"},
                    CatalogueCase{LogText::WithCode(LogText::kListenFailed, 98), u" listen() failed: 98"},
                    CatalogueCase{LogText::WithCode(LogText::kCreatePortFailed, -1),
                                  u"CreateIoCompletionPort() failed: -1"},
                    CatalogueCase{LogText::Refused("192.0.2.7"), u"拒绝了不在允许范围内的连接,远程地址:192.0.2.7"},
                    CatalogueCase{LogText::SendError(32), u"WSASend ERROR:32" + std::u16string(99, u'*')},
                    CatalogueCase{LogText::Listening(9977), u"在端口9977建立了监听服务!"},
                    CatalogueCase{LogText::Listening(40000), u"在端口40000建立了监听服务!"},
                    CatalogueCase{LogText::Listening(65535), u"在端口65535建立了监听服务!"},
                    CatalogueCase{LogText::Accepted(12), u"收到一个连接,在本地地址:12"},
                    CatalogueCase{LogText::Accepted(5000000000LL), u"收到一个连接,在本地地址:5000000000"}));

}  // namespace
