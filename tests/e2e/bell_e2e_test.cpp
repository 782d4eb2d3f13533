// Time signals as the room meets them: the warning colour on the screen, and the bell
// heard through a PulseAudio server of the test's own whose only sink is a null sink,
// recorded from that sink's monitor.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "display_fixture.h"

namespace {

bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

// A sound server that exists only for one test: its own home and runtime directory, a
// socket in the scratch directory, and a null sink named bell_sink.
class NullSinkServer {
public:
    explicit NullSinkServer(const std::string& scratch)
        : m_strSocket(scratch + "/pa.sock"), m_strScratch(scratch)
    {
        const std::string home = scratch + "/pa-home";
        const std::string run = scratch + "/pa-run";
        mkdir(home.c_str(), 0700);
        mkdir(run.c_str(), 0700);
        m_env = {{"HOME", home}, {"XDG_RUNTIME_DIR", run}, {"XDG_CONFIG_HOME", home + "/.config"},
                 {"PULSE_SERVER", std::nullopt}, {"DBUS_SESSION_BUS_ADDRESS", std::nullopt},
                 {"DISPLAY", std::nullopt}};
        m_pDaemon = std::make_unique<ChildProcess>(
            std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                     "--use-pid-file=no", "--disable-shm=yes", "--log-target=stderr",
                                     "-L", "module-null-sink sink_name=bell_sink",
                                     "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + m_strSocket},
            m_env, scratch + "/pulseaudio.out", scratch + "/pulseaudio.err");
        m_bReady = WaitFor([&] {
            return !m_pDaemon->Running() || RunTool({"pactl", "info"}, ClientEnv(), m_strScratch).nStatus == 0;
        }, kDeadline) && m_pDaemon->Running();
    }

    bool Ready() const { return m_bReady; }
    std::string Log() const { return m_pDaemon->Stderr(); }
    // What a client needs to reach this server and no other.
    EnvChanges ClientEnv() const
    {
        EnvChanges env = m_env;
        env["PULSE_SERVER"] = "unix:" + m_strSocket;
        return env;
    }

private:
    std::string m_strSocket;
    std::string m_strScratch;
    EnvChanges m_env;
    std::unique_ptr<ChildProcess> m_pDaemon;
    bool m_bReady = false;
};

// The loudest 16-bit sample in raw little-endian mono audio.
int Peak(const std::string& raw)
{
    int peak = 0;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[i]) |
                                                      (static_cast<std::uint8_t>(raw[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

class Bell : public DisplayTest {
protected:
    // A round of ten minutes with `remaining` seconds left, clock in white.
    ToolResult SendRound(int remaining)
    {
        return SendTo({"round", "--title", "Round 5", "--remaining", std::to_string(remaining), "--length", "600",
                       "--clock-colour", "248,248,248"});
    }
    std::unique_ptr<PavluneProcess> StartDisplayWith(const EnvChanges& extraEnv, std::vector<std::string> args)
    {
        EnvChanges env = DisplayEnv();
        for (const auto& [name, value] : extraEnv) {
            if (name == "PULSE_SERVER") env[name] = value;
        }
        args.insert(args.begin(), {"--port", "0", "--size",
                                   std::to_string(kWindowWidth) + "x" + std::to_string(kWindowHeight)});
        auto display = std::make_unique<PavluneProcess>(args, env, m_scratch.Path());
        m_nPort = display->WaitListening();
        EXPECT_NE(m_nPort, 0) << "no port announced; stderr:\n" << display->Process().Stderr();
        return display;
    }
};

TEST_F(Bell, WarningStageColoursTheClockOnTheScreen)
{
    auto display = StartDisplay({"--warn", "300", "--warn", "60:#ff6000"});
    ASSERT_NE(m_nPort, 0);
    const QRect window(0, 0, kWindowWidth, kWindowHeight);
    ASSERT_EQ(SendRound(200).nStatus, 0);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return CountColour(shot, window, qRgb(255, 191, 0)) > 500 && CountColour(shot, window, qRgb(248, 248, 248)) == 0;
    })) << "the clock is not amber inside the five-minute stage";
    ASSERT_EQ(SendRound(50).nStatus, 0);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return CountColour(shot, window, qRgb(255, 96, 0)) > 500 && CountColour(shot, window, qRgb(255, 191, 0)) == 0;
    })) << "the smaller stage does not win";
}

TEST_F(Bell, RingsThroughTheSoundServerAtTheEndOfTheRound)
{
    if (!OnPath("pulseaudio") || !OnPath("pactl") || !OnPath("parec")) {
        GTEST_SKIP() << "no PulseAudio server here (scripts/deps installs pulseaudio and pulseaudio-utils)";
    }
    NullSinkServer server(m_scratch.Path());
    if (!server.Ready()) GTEST_SKIP() << "PulseAudio could not start here:\n" << server.Log();

    const std::string recording = m_scratch.Path() + "/heard.raw";
    ChildProcess recorder({"parec", "--device=bell_sink.monitor", "--raw", "--format=s16le", "--rate=44100",
                           "--channels=1"},
                          server.ClientEnv(), recording, m_scratch.Path() + "/parec.err");
    ASSERT_TRUE(WaitFor([&] {
        const ToolResult r = RunTool({"pactl", "list", "short", "source-outputs"}, server.ClientEnv(), m_scratch.Path());
        return r.nStatus == 0 && !r.out.empty();
    }, kDeadline)) << "parec is not recording: " << recorder.Stderr();

    auto display = StartDisplayWith(server.ClientEnv(), {"--sound", "bell"});
    ASSERT_NE(m_nPort, 0);
    // Silence until the end of the round: nothing rings as the page arrives.
    ASSERT_EQ(SendRound(2).nStatus, 0);
    EXPECT_TRUE(WaitFor([&] { return Peak(ReadFile(recording)) > 10000; }, kDeadline))
        << "no bell heard on the null sink; display stderr:\n" << display->Process().Stderr();
    EXPECT_EQ(display->Process().Stderr().find("no sound device"), std::string::npos);
    EXPECT_TRUE(display->Process().Running());
}

TEST_F(Bell, WithoutASoundDeviceSaysSoOnceAndCarriesOn)
{
    auto display = StartDisplayWith({{"PULSE_SERVER", "unix:" + m_scratch.Path() + "/no-server.sock"}},
                                    {"--sound", "bell", "--warn", "1"});
    ASSERT_NE(m_nPort, 0);
    // Two rings: the stage and the end.
    ASSERT_EQ(SendRound(2).nStatus, 0);
    ASSERT_TRUE(WaitFor([&] { return display->Process().Stderr().find("no sound device") != std::string::npos; },
                        kDeadline)) << display->Process().Stderr();
    // The display still answers and draws while the bell is silent.
    const ToolResult reply = SendTo({"size"});
    EXPECT_EQ(reply.nStatus, 0) << reply.err;
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return CountColour(shot, QRect(0, 0, kWindowWidth, kWindowHeight), qRgb(255, 64, 64)) > 500;
    })) << "no overtime clock after the silent bell";
    const std::string err = display->Process().Stderr();
    EXPECT_EQ(err.find("no sound device"), err.rfind("no sound device")) << "said more than once:\n" << err;
    EXPECT_TRUE(display->Process().Running());
}

}  // namespace
