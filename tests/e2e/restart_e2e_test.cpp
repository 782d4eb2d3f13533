// A display that is killed or ended in the middle of a session comes back with what it
// showed: the same round with its clock where it belongs, the same notes in order; a
// cleared, damaged or unwanted saved list gives the information screen.
#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <mutex>
#include <thread>

#include "display/drawing/draw_screen.h"
#include "display/pages/screen_pages.h"
#include "display_fixture.h"
#include "msg/comm_msg.h"
#include "os/clock.h"
#include "draw/qt/qt_dc.h"

namespace {

using SystemClock = std::chrono::system_clock;

const QRect kWindow(0, 0, DisplayTest::kWindowWidth, DisplayTest::kWindowHeight);
constexpr QRgb kClockGreen = qRgb(0, 255, 0);
constexpr int kRoundSeconds = 1200;
constexpr int kRemaining = 600;
// A round page as the scoring program sends it; the test draws the same page itself.
const std::string kRoundJson = R"({"pub_MsgID":303,"1":"Round 7","2":"Open pairs","11":600,"13":1200,)"
                               R"("16":"Round 7","21":50,"22":50,"72":40,"31":"248,248,232","32":"0,255,0",)"
                               R"("33":"255,64,64","99":1})";

double Seconds(SystemClock::time_point t)
{
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

bool ShowsInformationScreen(const QImage& shot)
{
    const int h = DisplayTest::kWindowHeight / 8;
    return AllPixelsAre(shot, {{2, 2}, {kWindow.right() - 2, kWindow.bottom() - 2}}, kInfoBackground)
        && CountColour(shot, QRect(0, h, kWindow.width(), 2 * h), kInfoTitle) > 200;
}

bool ShowsRound(const QImage& shot)
{
    return CountColour(shot, kWindow, kClockGreen) > 500 && CountColour(shot, kWindow, kInfoTitle) == 0;
}

// The round page as the display draws it with `remaining` seconds left, drawn here by the
// display's own drawing code on the offscreen platform.
QImage DrawRoundAt(int remaining)
{
    static QGuiApplication* app = [] {
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const DateTime now = DateTime::FromLocal(2026, 3, 14, 15, 0, 0);
    Clock::Set(now.AddSeconds(remaining - kRemaining));
    CommMsg_base msg;
    msg.FromJsonText(kRoundJson);
    ScreenPageList pages;
    {
        std::lock_guard lock(pages.Mutex());
        pages.PutRoundPage(ScreenPageList::MakeRoundPage(msg, SIZE{kWindow.width(), kWindow.height()}));
    }
    Clock::Set(now);
    QImage image(kWindow.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QtDC dc(image);
        DrawScreen(dc, RECT{0, 0, kWindow.width(), kWindow.height()}, pages,
                   ScreenState{false, {kWindow.width(), kWindow.height()}, {}}, now);
    }
    Clock::UseSystemTime();
    return image;
}

// Pixels of the window that differ clearly from the image.
int Differences(const QImage& shot, const QImage& drawn)
{
    int nCount = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = shot.pixel(x, y);
            const QRgb b = drawn.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            nCount += d > 64 ? 1 : 0;
        }
    }
    return nCount;
}

struct ClockReading {
    int nShown = std::numeric_limits<int>::min();  // the remaining seconds the window matches best
    int nDifferences = std::numeric_limits<int>::max();
};

// Which of the candidate clocks the window shows.
ClockReading ReadClock(const QImage& shot, int from, int to)
{
    ClockReading best;
    for (int remaining = from; remaining <= to; ++remaining) {
        const int d = Differences(shot, DrawRoundAt(remaining));
        if (d < best.nDifferences) best = {remaining, d};
    }
    return best;
}

class Restart : public DisplayTest {
protected:
    std::string StateFile() const { return m_scratch.Path() + "/state/pavlune/pages.state"; }
    // The round page, sent; the time of its sending is kept.
    void SendRound()
    {
        m_tSentFrom = SystemClock::now();
        ASSERT_EQ(SendTo({"raw", kRoundJson}).nStatus, 0);
        m_tSentTo = SystemClock::now();
    }
    // Waits for the file to be there after a change: it is written on a thread of its own.
    bool WaitForStateFile() const
    {
        return WaitFor([&] { return !ReadFile(StateFile()).empty(); }, kDeadline);
    }
    // A size request answered: the display has started and handles messages.
    void ExpectRunning(PavluneProcess& display)
    {
        EXPECT_EQ(SendTo({"size"}).nStatus, 0);
        EXPECT_TRUE(display.Process().Running());
    }

    SystemClock::time_point m_tSentFrom;
    SystemClock::time_point m_tSentTo;
};

class EndedMidRound : public Restart, public ::testing::WithParamInterface<int> {};

TEST_P(EndedMidRound, ComesBackWithTheRoundAndItsClockWhereItBelongs)
{
    {
        auto display = StartDisplay();
        ASSERT_NE(m_nPort, 0);
        SendRound();
        ASSERT_TRUE(WaitForScreen(ShowsRound)) << "no round page before the end";
        ASSERT_TRUE(WaitForStateFile());
        display->Process().Signal(GetParam());
        ASSERT_TRUE(display->Process().WaitExit(kDeadline));
    }
    // A clock that began the round again at the restart would be this much behind.
    std::this_thread::sleep_for(std::chrono::seconds(3));

    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsRound)) << "the round page did not come back";
    const auto tShotFrom = SystemClock::now();
    const QImage shot = m_pX->Screenshot();
    const auto tShotTo = SystemClock::now();
    ASSERT_FALSE(shot.isNull());

    // The true time left lies between these, by when the message went and the picture was
    // taken; the window shows whole seconds, taken at its last repaint.
    const double latest = kRemaining - (Seconds(tShotFrom) - Seconds(m_tSentTo)) + 0.5;
    const double earliest = kRemaining - (Seconds(tShotTo) - Seconds(m_tSentFrom)) - 0.5;
    const ClockReading reading = ReadClock(shot, static_cast<int>(earliest) - 15, static_cast<int>(latest) + 15);
    RecordProperty("shown", reading.nShown);
    RecordProperty("true_from", std::to_string(earliest));
    RecordProperty("true_to", std::to_string(latest));
    std::cout << "the window shows " << reading.nShown << " s left (" << reading.nDifferences
              << " pixels off the drawn page); the true time left is " << earliest << " to " << latest << " s\n";
    EXPECT_LT(reading.nDifferences, kWindow.width() * kWindow.height() / 200) << "the window shows no such clock";
    EXPECT_GE(reading.nShown, earliest - 1);
    EXPECT_LE(reading.nShown, latest + 1);
}

INSTANTIATE_TEST_SUITE_P(KillAndTerm, EndedMidRound, ::testing::Values(SIGKILL, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGKILL ? "Killed" : "Terminated");
                         });

TEST_F(Restart, NotesComeBackInTheirOrder)
{
    const std::vector<QRgb> colours{qRgb(200, 30, 90), qRgb(30, 170, 60), qRgb(40, 60, 210)};
    // The note that fills the window, or -1.
    const auto NoteShown = [&](const QImage& shot) {
        for (std::size_t i = 0; i < colours.size(); ++i) {
            if (CountColour(shot, kWindow, colours[i]) == kWindow.width() * kWindow.height()) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    int shownBefore = -1;
    {
        auto display = StartDisplay();
        ASSERT_NE(m_nPort, 0);
        for (std::size_t i = 0; i < colours.size(); ++i) {
            ASSERT_EQ(SendTo({"note", WritePicture("note" + std::to_string(i) + ".png", colours[i])}).nStatus, 0);
        }
        ASSERT_TRUE(WaitForScreen([&](const QImage& shot) { return (shownBefore = NoteShown(shot)) >= 0; }));
        ASSERT_TRUE(WaitForStateFile());
        display->Process().Signal(SIGKILL);
        ASSERT_TRUE(display->Process().WaitExit(kDeadline));
    }

    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    // Each note fills the window for its ten seconds, first the one that was on the
    // screen, then the others in the order they came.
    std::vector<int> seen;
    ASSERT_TRUE(WaitFor([&] {
        const int shown = NoteShown(m_pX->Screenshot());
        if (shown >= 0 && (seen.empty() || seen.back() != shown)) seen.push_back(shown);
        return seen.size() >= 3;
    }, std::chrono::seconds(60))) << "notes seen: " << ::testing::PrintToString(seen);
    std::cout << "note shown at the kill: " << shownBefore << "; notes seen after the restart, by index: "
              << ::testing::PrintToString(seen) << "\n";
    const int first = shownBefore;
    EXPECT_EQ(seen, (std::vector<int>{first, (first + 1) % 3, (first + 2) % 3}));
}

TEST_F(Restart, AClearedListComesBackEmpty)
{
    {
        auto display = StartDisplay();
        ASSERT_NE(m_nPort, 0);
        SendRound();
        ASSERT_TRUE(WaitForScreen(ShowsRound));
        const std::string withRound = (WaitForStateFile(), ReadFile(StateFile()));
        ASSERT_EQ(SendTo({"clear"}).nStatus, 0);
        ASSERT_TRUE(WaitForScreen(ShowsInformationScreen));
        ASSERT_TRUE(WaitFor([&] { return ReadFile(StateFile()) != withRound; }, kDeadline));
        display->Process().Signal(SIGKILL);
        ASSERT_TRUE(display->Process().WaitExit(kDeadline));
    }
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ExpectRunning(*display);
    EXPECT_TRUE(WaitForScreen(ShowsInformationScreen));
    EXPECT_EQ(display->Process().Stderr().find("saved pages"), std::string::npos) << display->Process().Stderr();
}

TEST_F(Restart, ADamagedFileGivesTheInformationScreenAndOneLine)
{
    ASSERT_TRUE(std::filesystem::create_directories(m_scratch.Path() + "/state/pavlune"));
    const std::string damaged = std::string("PAVLSTAT") + '\x01' + std::string(3, '\0') + " written half";
    std::ofstream(StateFile(), std::ios::binary) << damaged;

    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ExpectRunning(*display);
    EXPECT_TRUE(WaitForScreen(ShowsInformationScreen));
    // The line is written by the thread that reads the file, soon after the start.
    std::string err;
    EXPECT_TRUE(WaitFor([&] { return (err = display->Process().Stderr()).find(StateFile()) != std::string::npos; },
                        kDeadline)) << err;
    std::cout << "standard error: " << err;
    std::size_t nLines = 0;
    for (std::size_t at = err.find(StateFile()); at != std::string::npos; at = err.find(StateFile(), at + 1)) ++nLines;
    EXPECT_EQ(nLines, 1u) << err;
    EXPECT_EQ(ReadFile(StateFile()), damaged) << "the damaged file was changed";
}

// How the option is given: on the command line or in the configuration file.
struct NoRestoreCase {
    const char* name;
    std::vector<std::string> args;
    const char* configFile;
};

class NoRestore : public Restart, public ::testing::WithParamInterface<NoRestoreCase> {};

TEST_P(NoRestore, StartsEmptyAndKeepsTheSavedList)
{
    {
        auto display = StartDisplay();
        ASSERT_NE(m_nPort, 0);
        SendRound();
        ASSERT_TRUE(WaitForScreen(ShowsRound));
        ASSERT_TRUE(WaitForStateFile());
        display->Process().Signal(SIGKILL);
        ASSERT_TRUE(display->Process().WaitExit(kDeadline));
    }
    const std::string saved = ReadFile(StateFile());
    const std::string configDir = m_scratch.Path() + "/config/pavlune";
    ASSERT_TRUE(std::filesystem::create_directories(configDir));
    std::ofstream(configDir + "/pavlune.conf") << GetParam().configFile;
    {
        auto display = StartDisplay(GetParam().args);
        ASSERT_NE(m_nPort, 0);
        ExpectRunning(*display);
        EXPECT_TRUE(WaitForScreen(ShowsInformationScreen));
        display->Process().Signal(SIGTERM);
        ASSERT_TRUE(display->Process().WaitExit(kDeadline));
    }
    EXPECT_EQ(ReadFile(StateFile()), saved) << "--no-restore changed the saved list";
    // Without the option again, the saved round is back.
    std::filesystem::remove(configDir + "/pavlune.conf");
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    EXPECT_TRUE(WaitForScreen(ShowsRound)) << "the saved list did not stay";
}

INSTANTIATE_TEST_SUITE_P(Given, NoRestore,
                         ::testing::Values(NoRestoreCase{"OnTheCommandLine", {"--no-restore"}, ""},
                                           NoRestoreCase{"InTheConfigurationFile", {}, "no-restore=true\n"}),
                         [](const ::testing::TestParamInfo<NoRestoreCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
