// The real program against what a careless or hostile peer can send: huge pictures stay
// within memory, and costly pictures and texts neither stop the screen nor the answers.
#include <QImage>

#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include "display_fixture.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "peer.h"
#include "picture_samples.h"

namespace {

using Bounds = DisplayTest;

// A "VmHWM:" style line of /proc/PID/status, in MiB.
double StatusMiB(pid_t pid, const std::string& key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
    }
    return 0;
}

TEST_F(Bounds, FiveHugeNotesKeepTheResidentMemoryUnder400MB)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    const QRgb top = qRgb(200, 30, 90);
    const QRgb bottom = qRgb(30, 90, 200);
    // Sent as a scoring program would, without a sender's own checks on the picture.
    const std::vector<std::uint8_t> png = TwoToneMonoPng(QSize(8192, 8192), top, bottom);
    auto note = std::make_unique<CommMsg_base>();
    note->ResetMsg(MSGID_NOTE_PAGE);
    note->SetAttachment(png.data(), static_cast<int>(png.size()));
    for (int i = 0; i < 5; ++i) {
        Peer peer(m_nPort);
        ASSERT_TRUE(peer.Send(*note));
        ASSERT_TRUE(peer.WaitClosed(std::chrono::seconds(30)));
    }
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return AllPixelsAre(shot, {{10, 10}, {630, 200}}, top) && AllPixelsAre(shot, {{10, 300}, {630, 470}}, bottom);
    })) << "the note is not shown";
    const double peak = StatusMiB(display->Process().Pid(), "VmHWM:");
    const double resident = StatusMiB(display->Process().Pid(), "VmRSS:");
    EXPECT_GT(resident, 0);
    EXPECT_LT(peak, 400) << "resident now " << resident << " MiB";
    RecordProperty("peak_MiB", std::to_string(peak));
    RecordProperty("resident_MiB", std::to_string(resident));
}

int CountMatches(const std::string& text, const char* pattern)
{
    const std::regex re(pattern);
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST_F(Bounds, CostlyInputsNeitherStopTheScreenNorTheAnswers)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    const QRgb clockGreen = qRgb(0, 255, 0);
    ASSERT_EQ(SendTo({"round", "--remaining", "600", "--length", "1200", "--clock-colour", "0,255,0"}).nStatus, 0);
    ASSERT_TRUE(WaitForScreen([&](const QImage& shot) { return CountColour(shot, QRect(0, 0, 640, 480), clockGreen) > 300; }));

    // A progressive JPEG of 600 scans; a round page whose 10 MB title makes its JSON too
    // long to be parsed at all; and a round page within that bound with a long title, a
    // board list of 300,000 full-width commas and a subtitle that is no valid UTF-8.
    const std::vector<std::uint8_t> jpeg = ManyScanJpeg(GradientPicture(640, 480), 600);
    ASSERT_LT(jpeg.size(), 4u * 1024 * 1024) << "far smaller than a frame may be";
    auto note = std::make_unique<CommMsg_base>();
    note->ResetMsg(MSGID_NOTE_PAGE);
    note->SetAttachment(jpeg.data(), static_cast<int>(jpeg.size()));
    // Written out by hand: a JSON writer would not pass the lone surrogate on as it is.
    const auto roundFrame = [](std::size_t nTitle, int nCommas) {
        std::string json = R"({"pub_MsgID":303,"1":")" + std::string(nTitle, 'T') +
                           R"(","2":"\udc00","11":600,"13":1200,"21":50,"22":50,"72":40,"32":"0,255,0","14":"1~3)";
        for (int i = 0; i < nCommas; ++i) json += "，";
        json += "\"}\n";
        // The frame: its whole length, the attachment's length (none), the text.
        const std::size_t length = json.size() + 8;
        std::string frame = std::string(8, '\0') + json;
        for (std::size_t i = 0; i < 4; ++i) frame[i] = static_cast<char>(length >> (8 * i));
        return std::vector<std::uint8_t>(frame.begin(), frame.end());
    };
    const std::vector<std::uint8_t> hugeTitle = roundFrame(10'000'000, 0);
    const std::vector<std::uint8_t> round = roundFrame(100'000, 300'000);
    ASSERT_LT(round.size(), 1024u * 1024) << "within the bound of a message's text";

    std::thread peerSide([&] {
        {
            // Refused as it arrives: the connection stays the peer's to end.
            Peer peer(m_nPort);
            EXPECT_TRUE(peer.SendBytes(hugeTitle));
        }
        for (const std::vector<std::uint8_t>& frame : {FrameOf(*note), round}) {
            Peer peer(m_nPort);
            EXPECT_TRUE(peer.SendBytes(frame));
            EXPECT_TRUE(peer.WaitClosed(std::chrono::seconds(30)));
        }
    });
    // Asked while those are on their way or being handled: answered all the same.
    const ToolResult size = SendTo({"size"});
    peerSide.join();
    EXPECT_EQ(size.nStatus, 0) << size.err;
    EXPECT_NE(size.out.find("640"), std::string::npos) << size.out;

    // The round page runs: its clock shows, and a later screen differs from an earlier one.
    QImage first;
    ASSERT_TRUE(WaitForScreen([&](const QImage& shot) {
        if (CountColour(shot, QRect(0, 0, 640, 480), clockGreen) < 300) return false;
        if (first.isNull()) first = shot;
        return shot.copy(0, 0, 640, 480) != first.copy(0, 0, 640, 480);
    })) << "the screen stopped changing";
    EXPECT_TRUE(display->Process().Running());
    EXPECT_EQ(CountMatches(display->Process().Stderr(), "Conversion error"), 1)
        << "a bad text is reported once, not at every paint";
}

}  // namespace
