// The display as an unattended kiosk: a full screen that never blanks and hides the idle
// cursor, and a start that fails loudly when its display server is not there.
#include <sys/stat.h>

#include <thread>

#include "display_fixture.h"
#include "x_probe.h"

namespace {

using Kiosk = DisplayTest;

constexpr QRgb kClockGreen = qRgb(0, 255, 0);

// A round page whose green clock fills a good part of the screen.
bool ShowsGreenClock(const QImage& shot)
{
    return CountColour(shot, shot.rect(), kClockGreen) > 2000;
}

TEST_F(Kiosk, IdleCursorHidesInFullScreenAndComesBackWithTheMouse)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(PressF11IntoFullScreen());
    EXPECT_TRUE(WaitFor([&] { return CursorIsBlank(m_pX->Display()); }, kDeadline))
        << "the cursor still shows without movement";

    ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", "300", "200"}), 0);
    EXPECT_TRUE(WaitFor([&] { return !CursorIsBlank(m_pX->Display()); }, kDeadline))
        << "the cursor did not come back with the mouse";
    EXPECT_TRUE(WaitFor([&] { return CursorIsBlank(m_pX->Display()); }, kDeadline)) << "it did not hide again";

    // Windowed, the arrow stays whatever the mouse does.
    ASSERT_EQ(m_pX->XDoTool({"key", "F11"}), 0);
    ASSERT_TRUE(WaitForScreen(ShowsFramedWindowOnly));
    EXPECT_TRUE(WaitFor([&] { return !CursorIsBlank(m_pX->Display()); }, kDeadline))
        << "leaving full screen did not bring the arrow back";
}

class ScreenSaver : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        // A short screen saver, as a fresh X server has a long one. (Xvfb has no DPMS
        // extension, so power saving cannot be switched on here.)
        ASSERT_EQ(RunTool({"xset", "s", "2", "0"}, m_pX->Env(), m_scratch.Path()).nStatus, 0);
    }

    SaverState State() const { return ScreenSaverState(m_pX->Display()); }
    bool WaitForSaver() const
    {
        return WaitFor([&] { return State() == SaverState::kOn; }, kDeadline);
    }

    void ShowRoundPage()
    {
        ASSERT_EQ(SendTo({"round", "--remaining", "600", "--length", "1200", "--clock-x", "50", "--clock-y", "50",
                          "--clock-height", "40", "--clock-colour", "0,255,0"}).nStatus, 0);
        ASSERT_TRUE(WaitForScreen(ShowsGreenClock)) << "the round page did not appear";
    }
};

TEST_F(ScreenSaver, FullScreenKeepsTheRoundPageAwakeUntilItEnds)
{
    auto display = StartDisplay({"--fullscreen"});
    ASSERT_NE(m_nPort, 0);
    ShowRoundPage();
    // Four times the saver's timeout, with no input at all: only the display keeps it off.
    std::this_thread::sleep_for(std::chrono::seconds(8));
    EXPECT_NE(State(), SaverState::kOn);
    const QImage shot = m_pX->Screenshot();
    EXPECT_TRUE(ShowsGreenClock(shot)) << "the round page is gone";

    ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", "100", "100", "key", "F11"}), 0);
    ASSERT_TRUE(WaitForScreen([](const QImage& s) { return !CoversScreen(s) && ShowsGreenClock(s); }));
    EXPECT_TRUE(WaitForSaver()) << "the screen saver did not come back after full screen";
}

TEST_F(ScreenSaver, EndingTheProgramLetsTheScreenBlank)
{
    auto display = StartDisplay({"--fullscreen"});
    ASSERT_NE(m_nPort, 0);
    ShowRoundPage();
    display->Process().Signal(SIGTERM);
    ASSERT_EQ(display->Process().WaitExit(kDeadline), 0);
    EXPECT_TRUE(WaitForSaver());
}

TEST_F(ScreenSaver, AllowBlankingLeavesTheSaverToTheDesktop)
{
    auto display = StartDisplay({"--fullscreen", "--allow-blanking"});
    ASSERT_NE(m_nPort, 0);
    ShowRoundPage();
    EXPECT_TRUE(WaitForSaver()) << "the screen did not blank with --allow-blanking";
}

TEST_F(ScreenSaver, WindowedModeLeavesTheSaverAlone)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ShowRoundPage();
    EXPECT_TRUE(WaitForSaver());
}

// A private session bus with a desktop's screen saver service on it.
class DesktopScreenSaver : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        const std::string socket = m_scratch.Path() + "/bus";
        m_pBus = std::make_unique<ChildProcess>(
            std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket},
            EnvChanges{}, m_scratch.Path() + "/bus.out", m_scratch.Path() + "/bus.err");
        struct stat st {};
        ASSERT_TRUE(WaitFor([&] { return stat(socket.c_str(), &st) == 0 || !m_pBus->Running(); }, kDeadline));
        m_pService = std::make_unique<ChildProcess>(std::vector<std::string>{FAKE_SCREENSAVER}, DisplayEnv(),
                                                    m_scratch.Path() + "/saver.out", m_scratch.Path() + "/saver.err");
        ASSERT_TRUE(WaitFor([&] { return Calls().find("ready\n") != std::string::npos; }, kDeadline))
            << m_pService->Stderr() << m_pBus->Stderr();
    }

    std::string Calls() const { return m_pService->Stdout(); }

    std::unique_ptr<ChildProcess> m_pBus;
    std::unique_ptr<ChildProcess> m_pService;
};

TEST_F(DesktopScreenSaver, IsInhibitedExactlyWhileFullScreenLasts)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(PressF11IntoFullScreen());
    EXPECT_TRUE(WaitFor([&] { return Calls().find("-> 41\n") != std::string::npos; }, kDeadline)) << Calls();
    ASSERT_EQ(m_pX->XDoTool({"key", "F11"}), 0);
    EXPECT_TRUE(WaitFor([&] { return Calls().find("UnInhibit 41\n") != std::string::npos; }, kDeadline)) << Calls();
    // The windowed start asked nothing: the one inhibition is the full screen's.
    EXPECT_EQ(Calls().rfind("Inhibit ", Calls().find("UnInhibit")), Calls().find("Inhibit ")) << Calls();
    EXPECT_EQ(Calls().find("-> 42"), std::string::npos) << Calls();
}

// A display number that no X server uses: no socket and no lock file for it.
std::string UnusedXDisplay()
{
    for (int n = 500; n < 1000; ++n) {
        struct stat st {};
        const std::string number = std::to_string(n);
        if (stat(("/tmp/.X11-unix/X" + number).c_str(), &st) != 0 && stat(("/tmp/.X" + number + "-lock").c_str(), &st) != 0) {
            return ":" + number;
        }
    }
    return ":999";
}

struct UnreachableCase {
    std::vector<std::string> args;
    EnvChanges env;  // on top of no DISPLAY and no WAYLAND_DISPLAY
    // "UNUSED" in any of the texts stands for an X display that nobody serves.
    const char* stderrHas;
};

class UnreachableDisplay : public ::testing::TestWithParam<UnreachableCase> {};

TEST_P(UnreachableDisplay, EndsTheProgramWithOneLineNamingIt)
{
    ScratchDir scratch;
    const std::string unused = UnusedXDisplay();
    const auto fill = [&](std::string text) {
        if (const auto at = text.find("UNUSED"); at != std::string::npos) {
            text.replace(at, 6, unused);
        }
        return text;
    };
    EnvChanges env{{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", std::nullopt},
                   {"XDG_RUNTIME_DIR", scratch.Path()}, {"XDG_CONFIG_HOME", scratch.Path()}};
    for (const auto& [name, value] : GetParam().env) {
        env[name] = fill(*value);
    }
    std::vector<std::string> args{"--port", "0"};
    for (const std::string& arg : GetParam().args) {
        args.push_back(fill(arg));
    }
    PavluneProcess display(args, env, scratch.Path());
    EXPECT_EQ(display.Process().WaitExit(std::chrono::seconds(5)), 1);
    const std::string err = display.Process().Stderr();
    EXPECT_NE(err.find(fill(GetParam().stderrHas)), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(display.Process().Stdout(), "") << "it must not listen";
}

INSTANTIATE_TEST_SUITE_P(
    NamedServers, UnreachableDisplay,
    ::testing::Values(UnreachableCase{{}, {{"DISPLAY", "UNUSED"}}, "the X display \"UNUSED\" (DISPLAY)"},
                      UnreachableCase{{"-platform", "xcb"}, {{"DISPLAY", "UNUSED"}}, "\"UNUSED\""},
                      UnreachableCase{{"-display", "UNUSED"}, {}, "\"UNUSED\" (-display)"},
                      UnreachableCase{{"-platform", "xcb"}, {}, "no X display is named"},
                      UnreachableCase{{}, {{"WAYLAND_DISPLAY", "pavlune-none"}},
                                      "the Wayland display \"pavlune-none\""},
                      UnreachableCase{{}, {{"WAYLAND_DISPLAY", "pavlune-none"}, {"DISPLAY", "UNUSED"}},
                                      "\"pavlune-none\" (WAYLAND_DISPLAY) nor the X display \"UNUSED\""},
                      UnreachableCase{{"-platform", "wayland"}, {}, "the Wayland display \"wayland-0\""},
                      UnreachableCase{{}, {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "pavlune-none"}},
                                      "\"pavlune-none\""}));

TEST(ExplicitOffscreen, RunsWhateverDisplayIsNamed)
{
    ScratchDir scratch;
    PavluneProcess display({"--port", "0", "-platform", "offscreen"},
                           {{"DISPLAY", UnusedXDisplay()}, {"WAYLAND_DISPLAY", "pavlune-none"},
                            {"XDG_RUNTIME_DIR", scratch.Path()}, {"XDG_CONFIG_HOME", scratch.Path()}},
                           scratch.Path());
    EXPECT_NE(display.WaitListening(), 0) << display.Process().Stderr();
}

}  // namespace
