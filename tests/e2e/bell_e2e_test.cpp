// Time signals as the room meets them: the warning colour on the screen, and the bell
// heard through a PulseAudio server of the test's own whose only sink is a null sink,
// recorded from that sink's monitor.
#include "display_fixture.h"
#include "null_sink_server.h"

namespace {

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
    if (!NullSinkServer::Available()) {
        GTEST_SKIP() << "no PulseAudio server here (scripts/deps installs pulseaudio and pulseaudio-utils)";
    }
    NullSinkServer server(m_scratch.Path());
    if (!server.Ready()) GTEST_SKIP() << "PulseAudio could not start here:\n" << server.Log();

    const std::string recording = m_scratch.Path() + "/heard.raw";
    ASSERT_TRUE(server.Record(recording)) << "parec is not recording: " << ReadFile(m_scratch.Path() + "/parec.err");

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
