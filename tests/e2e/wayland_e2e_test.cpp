// The display on a Wayland compositor: a headless Weston of its own, in a runtime
// directory of the test's own, so nothing of a desktop's session is touched.
#include <sys/stat.h>

#include <csignal>

#include "pavlune_session.h"

namespace {

constexpr int kOutputWidth = 800;
constexpr int kOutputHeight = 600;
constexpr const char* kSocket = "pavlune-test";

class Weston : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_scratch.Path().empty());
        // A runtime directory is private to its user; mkdtemp made it so.
        struct stat st {};
        ASSERT_EQ(stat(m_scratch.Path().c_str(), &st), 0);
        ASSERT_EQ(st.st_mode & 0777, 0700u);
        m_pWeston = std::make_unique<ChildProcess>(
            std::vector<std::string>{"weston", "--backend=headless-backend.so", std::string("--socket=") + kSocket,
                                     "--width=" + std::to_string(kOutputWidth),
                                     "--height=" + std::to_string(kOutputHeight), "--idle-time=0", "--no-config"},
            EnvChanges{{"XDG_RUNTIME_DIR", m_scratch.Path()}, {"DISPLAY", std::nullopt},
                       {"WAYLAND_DISPLAY", std::nullopt}},
            m_scratch.Path() + "/weston.out", m_scratch.Path() + "/weston.err");
        const std::string socket = m_scratch.Path() + "/" + kSocket;
        ASSERT_TRUE(WaitFor([&] { return stat(socket.c_str(), &st) == 0 || !m_pWeston->Running(); }, kDeadline));
        ASSERT_TRUE(m_pWeston->Running()) << "weston ended:\n" << m_pWeston->Stderr();
    }

    EnvChanges DisplayEnv() const
    {
        return {{"WAYLAND_DISPLAY", kSocket}, {"DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", std::nullopt},
                {"XDG_RUNTIME_DIR", m_scratch.Path()}, {"XDG_CONFIG_HOME", m_scratch.Path() + "/config"},
                {"LC_ALL", "C.UTF-8"}};
    }

    ScratchDir m_scratch;
    std::unique_ptr<ChildProcess> m_pWeston;
};

struct WaylandCase {
    std::vector<std::string> args;
    std::string expectedSize;
};

class OnWeston : public Weston, public ::testing::WithParamInterface<WaylandCase> {};

TEST_P(OnWeston, AnswersWithItsWindowsSizeAndEndsOnTerm)
{
    std::vector<std::string> args{"--port", "0"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    PavluneProcess display(args, DisplayEnv(), m_scratch.Path());
    const int nPort = display.WaitListening();
    ASSERT_NE(nPort, 0) << display.Process().Stderr();
    ToolResult reply;
    EXPECT_TRUE(WaitFor([&] {
        reply = Send(nPort, {"size"}, m_scratch.Path());
        return reply.out.find(GetParam().expectedSize) != std::string::npos;
    }, kDeadline)) << "size reply: " << reply.out << reply.err;
    EXPECT_EQ(display.Process().Stderr().find("offscreen"), std::string::npos) << display.Process().Stderr();
    display.Process().Signal(SIGTERM);
    EXPECT_EQ(display.Process().WaitExit(kDeadline), 0) << display.Process().Stderr();
}

INSTANTIATE_TEST_SUITE_P(
    WindowedAndFullScreen, OnWeston,
    ::testing::Values(WaylandCase{{"--size", "640x480"}, "640x480"},
                      WaylandCase{{"--size", "640x480", "--fullscreen"},
                                  std::to_string(kOutputWidth) + "x" + std::to_string(kOutputHeight)},
                      WaylandCase{{"-platform", "wayland", "--fullscreen"},
                                  std::to_string(kOutputWidth) + "x" + std::to_string(kOutputHeight)}));

}  // namespace
