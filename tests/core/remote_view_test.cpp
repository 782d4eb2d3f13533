#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>

#include "core/display_status.h"
#include "core/screen_picture_service.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "draw/picture_codec.h"

namespace {

Image32 Filled(int w, int h, std::uint32_t pixel)
{
    Image32 image(w, h);
    image.Fill(pixel);
    return image;
}

// The window's side, held back until the test lets it hand its picture over.
class HeldWindow {
public:
    void Take(std::function<void(Image32)> deliver)
    {
        std::lock_guard lock(m_mtx);
        ++m_nTakes;
        m_deliver = std::move(deliver);
        m_cv.notify_all();
    }
    void Release(Image32 picture)
    {
        std::function<void(Image32)> deliver;
        {
            std::unique_lock lock(m_mtx);
            m_cv.wait(lock, [this] { return m_deliver != nullptr; });
            deliver = std::move(m_deliver);
            m_deliver = nullptr;
        }
        deliver(std::move(picture));
    }
    int Takes()
    {
        std::lock_guard lock(m_mtx);
        return m_nTakes;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::function<void(Image32)> m_deliver;
    int m_nTakes = 0;
};

// What each connection got: its reply's size, or nothing (closed without a reply).
class Replies {
public:
    void Add(SOCKET s, const CommMsg_base* pReply)
    {
        std::lock_guard lock(m_mtx);
        m_replies[s] = pReply == nullptr ? std::nullopt
                                         : std::optional<SIZE>(SIZE{GetIntField(*pReply, MsgKey::kScreenWidth),
                                                                    GetIntField(*pReply, MsgKey::kScreenHeight)});
        if (pReply != nullptr) {
            const auto decoded = DecodePicture({pReply->m_pAttach.get(), static_cast<std::size_t>(pReply->m_nAttachLen)},
                                               SIZE{});
            m_bPngMatches &= decoded.has_value() && decoded->Width() == m_replies[s]->cx &&
                             decoded->Height() == m_replies[s]->cy;
        }
        m_cv.notify_all();
    }
    bool WaitFor(std::size_t n)
    {
        std::unique_lock lock(m_mtx);
        return m_cv.wait_for(lock, std::chrono::seconds(10), [&] { return m_replies.size() >= n; });
    }
    std::map<SOCKET, std::optional<SIZE>> Get()
    {
        std::lock_guard lock(m_mtx);
        return m_replies;
    }
    bool PngMatches()
    {
        std::lock_guard lock(m_mtx);
        return m_bPngMatches;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::map<SOCKET, std::optional<SIZE>> m_replies;
    bool m_bPngMatches = true;
};

}  // namespace

TEST(ScreenPictureServiceTest, RequestsWaitingForOnePictureShareItAndEachWidthIsEncodedOnce)
{
    HeldWindow window;
    Replies replies;
    ScreenPictureService service([&](Image32, auto deliver) { window.Take(std::move(deliver)); },
                                 [&](SOCKET s, const CommMsg_base* pReply) { replies.Add(s, pReply); });
    for (SOCKET s = 1; s <= 4; ++s) service.Request(s, 0);
    service.Request(5, 640);
    service.Request(6, 640);
    service.Request(7, 4000);  // wider than the screen: the screen's own size
    window.Release(Filled(1920, 1080, 0xFF204060u));
    ASSERT_TRUE(replies.WaitFor(7));
    const auto got = replies.Get();
    for (SOCKET s : {1, 2, 3, 4, 7}) {
        ASSERT_TRUE(got.at(s).has_value()) << s;
        EXPECT_EQ(got.at(s)->cx, 1920);
        EXPECT_EQ(got.at(s)->cy, 1080);
    }
    for (SOCKET s : {5, 6}) {
        ASSERT_TRUE(got.at(s).has_value()) << s;
        EXPECT_EQ(got.at(s)->cx, 640);
        EXPECT_EQ(got.at(s)->cy, 360);
    }
    EXPECT_TRUE(replies.PngMatches());
    EXPECT_EQ(window.Takes(), 1);
    service.Stop();
}

TEST(ScreenPictureServiceTest, BeyondTheBoundAndAtTheStopRequestsAreClosedWithoutReply)
{
    HeldWindow window;
    Replies replies;
    ScreenPictureService service([&](Image32, auto deliver) { window.Take(std::move(deliver)); },
                                 [&](SOCKET s, const CommMsg_base* pReply) { replies.Add(s, pReply); });
    const auto nBound = static_cast<SOCKET>(ScreenPictureService::kMaxWaiting);
    for (SOCKET s = 1; s <= nBound + 1; ++s) service.Request(s, 0);
    // The one past the bound is closed at once, the window still holding its picture.
    ASSERT_TRUE(replies.WaitFor(1));
    EXPECT_EQ(replies.Get().begin()->first, nBound + 1);
    EXPECT_FALSE(replies.Get().begin()->second.has_value());
    service.Stop();
    ASSERT_TRUE(replies.WaitFor(nBound + 1));
    for (const auto& [s, reply] : replies.Get()) EXPECT_FALSE(reply.has_value()) << s;
    // After the stop, at once and without a reply.
    service.Request(100, 0);
    EXPECT_FALSE(replies.Get().at(100).has_value());
}

TEST(ScreenPictureServiceTest, AWindowShowingNothingGetsNoReply)
{
    Replies replies;
    ScreenPictureService service([](Image32, auto deliver) { deliver(Image32()); },
                                 [&](SOCKET s, const CommMsg_base* pReply) { replies.Add(s, pReply); });
    service.Request(1, 0);
    ASSERT_TRUE(replies.WaitFor(1));
    EXPECT_FALSE(replies.Get().at(1).has_value());
    service.Stop();
}

struct StatusCase {
    const char* name;
    std::optional<DisplayStatus::Round> round;
    int nNote;
    int nNotes;
    const char* shownJson;
    const char* detailJson;
};

class DisplayStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(DisplayStatusTest, ReplySaysWhatIsShown)
{
    DisplayStatus status;
    status.version = "7.26.36";
    status.platform = "Linux";
    status.nUptime = 3725;
    status.nWidth = 1920;
    status.nHeight = 1080;
    status.bFullScreen = true;
    status.round = GetParam().round;
    status.nNote = GetParam().nNote;
    status.nNotes = GetParam().nNotes;
    status.bRestored = true;
    status.nPort = 9977;
    status.messages = {{MSGID_ROUND_PAGE, 2}, {MSGID_STATUS, 1}};
    status.nFramesRejected = 3;
    status.nPeersRefused = 4;
    CommMsg_base reply;
    FillStatusReply(status, reply);
    const std::string json = reply.ToJsonText();
    EXPECT_NE(json.find(GetParam().shownJson), std::string::npos) << json;
    EXPECT_NE(json.find(GetParam().detailJson), std::string::npos) << json;
    for (const char* part : {"\"pub_MsgID\":923", "\"version\":\"7.26.36\"", "\"platform\":\"Linux\"", "\"uptime\":3725",
                             "\"screen\":{\"fullScreen\":true,\"height\":1080,\"width\":1920}", "\"restored\":true",
                             "\"port\":9977", "\"messages\":{\"303\":2,\"923\":1}", "\"framesRejected\":3",
                             "\"peersRefused\":4"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;
    }
}

INSTANTIATE_TEST_SUITE_P(Shown, DisplayStatusTest,
    ::testing::Values(
        StatusCase{"information_screen", std::nullopt, 0, 0, "\"shown\":\"information screen\"", "\"restored\""},
        StatusCase{"note", std::nullopt, 2, 3, "\"shown\":\"note\"", "\"note\":{\"count\":3,\"number\":2}"},
        StatusCase{"round_in_overtime", DisplayStatus::Round{"Round 5", "Swiss", "1-8", -65, 1}, 0, 0,
                   "\"shown\":\"round page\"",
                   "\"round\":{\"boards\":\"1-8\",\"language\":1,\"remaining\":-65,\"subtitle\":\"Swiss\","
                   "\"title\":\"Round 5\"}"}),
    [](const auto& info) { return std::string(info.param.name); });
