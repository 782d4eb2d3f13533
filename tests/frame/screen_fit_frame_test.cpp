// The real window, its server on a real socket: what the screen says about the port, and
// a round page on a portrait screen, checked by where the window's repaints put the texts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "frame_fixture.h"
#include "platform/clock.h"
#include "platform/gdi_text_record.h"

namespace {

// Repaints until a recorded text passes the check; the deadline only bounds a failure.
const DrawnText* WaitForText(const TextRecording& recording, const std::function<bool(const DrawnText&)>& check)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const auto& texts = recording.Texts();
        const auto found = std::find_if(texts.begin(), texts.end(), check);
        if (found != texts.end()) return &*found;
    }
    return nullptr;
}

std::vector<QString> TextsInBottomBand(const TextRecording& recording, QSize client)
{
    const int h = client.height() / 8;
    const QRect band(0, 7 * h, client.width(), h);
    std::vector<QString> texts;
    for (const DrawnText& t : recording.Texts()) {
        if (t.clip == band && std::find(texts.begin(), texts.end(), t.text) == texts.end()) texts.push_back(t.text);
    }
    return texts;
}

using ServerFooter = FrameTest;

TEST_F(ServerFooter, AnotherPortThanTheStandardOneIsShownAtTheBottom)
{
    const TextRecording recording;
    const QString expected = QStringLiteral("Port=") + QString::number(m_nPort);
    ASSERT_NE(WaitForText(recording, [&](const DrawnText& t) { return t.text == expected; }), nullptr);
    EXPECT_EQ(TextsInBottomBand(recording, QSize(1920, 1080)), std::vector<QString>{expected});
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

    const TextRecording recording;
    const QString expected = QStringLiteral("Not listening on port ") + QString::number(taken.Port());
    ASSERT_NE(WaitForText(recording, [&](const DrawnText& t) { return t.text == expected; }), nullptr);
    EXPECT_EQ(TextsInBottomBand(recording, QSize(1366, 768)), std::vector<QString>{expected});
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

    const TextRecording recording;
    Deliver(*msg);
    const QString text = QString::fromLatin1(c.clockText);
    const DrawnText* clock = WaitForText(recording, [&](const DrawnText& t) { return t.text == text; });
    ASSERT_NE(clock, nullptr) << "no clock reading " << c.clockText;
    EXPECT_TRUE(QRect(0, 0, 1080, 1920).contains(clock->cell))
        << clock->cell.x() << "," << clock->cell.y() << " " << clock->cell.width() << "x" << clock->cell.height();

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
