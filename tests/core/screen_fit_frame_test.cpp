// The real window, its server on a real socket: what the screen says about the port, and
// a round page on a portrait screen, checked by where the window's repaints put the texts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "frame_fixture.h"
#include "os/clock.h"
#include "draw/drawing_record.h"
#include "text/wide_text.h"

namespace {

// Lets the window run until the drawing it measured for its screen has a line of text
// that passes the check; the deadline only bounds a failure.
std::optional<DrawnOp> WaitForText(const CMainFrame& frame, const std::function<bool(const DrawnOp&)>& check)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (const DrawingRecord* shown = frame.ShownDrawing()) {
            for (const DrawnOp* text : shown->Texts()) {
                if (check(*text)) return *text;
            }
        }
    }
    return std::nullopt;
}

std::vector<std::u16string> TextsInBottomBand(const CMainFrame& frame, SIZE client)
{
    const int h = client.cy / 8;
    const RECT band{0, 7 * h, client.cx, 8 * h};
    std::vector<std::u16string> texts;
    for (const DrawnOp* t : frame.ShownDrawing()->Texts()) {
        if (t->clip == band && std::find(texts.begin(), texts.end(), t->text) == texts.end()) texts.push_back(t->text);
    }
    return texts;
}

using ServerFooter = FrameTest;

TEST_F(ServerFooter, AnotherPortThanTheStandardOneIsShownAtTheBottom)
{
    const std::u16string expected = u"Port=" + IntToWide(m_nPort);
    ASSERT_TRUE(WaitForText(*m_pFrame, [&](const DrawnOp& t) { return t.text == expected; }));
    EXPECT_EQ(TextsInBottomBand(*m_pFrame, SIZE{1920, 1080}), std::vector<std::u16string>{expected});
}

// A listening socket of another program holding a port the display is then asked to use.
class PortTaken {
public:
    PortTaken() : m_nFd(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t length = sizeof(address);
        if (m_nFd >= 0 && bind(m_nFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            listen(m_nFd, 1) == 0 && getsockname(m_nFd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_nPort = ntohs(address.sin_port);
        }
    }
    ~PortTaken()
    {
        if (m_nFd >= 0) close(m_nFd);
    }
    PortTaken(const PortTaken&) = delete;
    PortTaken& operator=(const PortTaken&) = delete;
    int Port() const { return m_nPort; }

private:
    int m_nFd;
    int m_nPort = 0;
};

TEST(ServerFooterNotListening, TheBottomBandSaysSoAndNamesThePort)
{
    const PortTaken taken;
    ASSERT_NE(taken.Port(), 0);
    CMainFrame frame(taken.Port());
    ASSERT_TRUE(frame.Create());
    frame.ShowWithClientSize(1366, 768);
    ASSERT_EQ(frame.ListeningPort(), 0);

    const std::u16string expected = u"Not listening on port " + IntToWide(taken.Port());
    ASSERT_TRUE(WaitForText(frame, [&](const DrawnOp& t) { return t.text == expected; }));
    EXPECT_EQ(TextsInBottomBand(frame, SIZE{1366, 768}), std::vector<std::u16string>{expected});
}

struct PortraitCase {
    const char* name;
    int remaining;
    const char* clockText;
    QRgb colour;
};

class PortraitClock : public FrameTest, public ::testing::WithParamInterface<PortraitCase> {
protected:
    // Time stands still, so the clock reads what the message said at every repaint.
    void SetUp() override
    {
        Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
        FrameTest::SetUp();
    }
    void TearDown() override { Clock::UseSystemTime(); }
};

// The clock 40 % of a tall screen high would be wider than the screen: it is drawn
// smaller, and every digit, the colon and a minus sign stay on the screen.
TEST_P(PortraitClock, ShowsEveryCharacterInsideTheScreen)
{
    const PortraitCase& c = GetParam();
    m_pFrame->ShowWithClientSize(1080, 1920);
    std::unique_ptr<CommMsg_base> msg = RoundPageMsg();
    SetIntField(*msg, MsgKey::kRemaining, c.remaining);
    SetIntField(*msg, MsgKey::kPeriodLength, 3600);
    SetIntField(*msg, MsgKey::kClockX, 50);
    SetIntField(*msg, MsgKey::kClockY, 50);
    SetIntField(*msg, MsgKey::kClockHeight, 40);
    (*msg)[std::to_string(MsgKey::kClockColour)] = "0,255,0";
    (*msg)[std::to_string(MsgKey::kOvertimeColour)] = "255,0,255";

    Deliver(*msg);
    const std::u16string text = Utf8ToWide(c.clockText);
    const std::optional<DrawnOp> clock = WaitForText(*m_pFrame, [&](const DrawnOp& t) { return t.text == text; });
    ASSERT_TRUE(clock) << "no clock reading " << c.clockText;
    const RECT& cell = clock->area;
    EXPECT_TRUE(cell.left >= 0 && cell.top >= 0 && cell.right <= 1080 && cell.bottom <= 1920)
        << cell.left << "," << cell.top << " " << cell.right << "," << cell.bottom;

    // On the screen itself the clock's ink stays clear of the left and right edges.
    ProcessEventsFor(200);
    const QImage& screen = m_pFrame->ScreenImage();
    ASSERT_EQ(screen.size(), QSize(1080, 1920));
    int left = screen.width();
    int right = -1;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (c.colour & 0xFFFFFF)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GT(left, 0);
    EXPECT_LT(right, 1079);
    EXPECT_GT(right - left, 1080 / 2) << "a clock that fits so tall a screen should still span most of its width";
}

INSTANTIATE_TEST_SUITE_P(Readings, PortraitClock,
                         ::testing::Values(PortraitCase{"Running", 803, "13:23", qRgb(0, 255, 0)},
                                           PortraitCase{"Overtime", -95, "-01:35", qRgb(255, 0, 255)}),
                         [](const ::testing::TestParamInfo<PortraitCase>& info) { return info.param.name; });

}  // namespace
