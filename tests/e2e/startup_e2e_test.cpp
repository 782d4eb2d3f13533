// Starting and ending the program: one copy per session, a port that is taken, signals,
// no display server at all, and the command line.
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "display_fixture.h"

namespace {

using Startup = DisplayTest;

// The windows a process has on the screen, by the process id Qt puts on them.
std::vector<std::string> VisibleWindowsOf(const XServer& x, pid_t pid)
{
    std::string out;
    x.XDoTool({"search", "--onlyvisible", "--pid", std::to_string(pid)}, &out);
    std::vector<std::string> windows;
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t end = out.find('\n', pos);
        const std::string line = out.substr(pos, end - pos);
        if (!line.empty()) {
            windows.push_back(line);
        }
        pos = end == std::string::npos ? out.size() : end + 1;
    }
    return windows;
}

// Waits for the process's dialog and answers it with Enter, as a person would.
bool DismissDialogOf(const XServer& x, pid_t pid)
{
    std::vector<std::string> windows;
    if (!WaitFor([&] { return !(windows = VisibleWindowsOf(x, pid)).empty(); }, kDeadline)) {
        return false;
    }
    return x.XDoTool({"windowfocus", "--sync", windows.front()}) == 0 && x.XDoTool({"key", "Return"}) == 0;
}

// A listening socket on every local address, holding a port for the length of a test.
class TakenPort {
public:
    TakenPort()
    {
        m_nFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t len = sizeof addr;
        if (bind(m_nFd, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(m_nFd, 4) == 0
            && getsockname(m_nFd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
            m_nPort = ntohs(addr.sin_port);
        }
    }
    ~TakenPort() { close(m_nFd); }
    int Port() const { return m_nPort; }

private:
    int m_nFd = -1;
    int m_nPort = 0;
};

TEST_F(Startup, SecondCopyInTheSameSessionIsRefusedWithADialog)
{
    auto first = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    PavluneProcess second({"--port", "0"}, DisplayEnv(), m_scratch.Path(), "second");
    EXPECT_TRUE(DismissDialogOf(*m_pX, second.Process().Pid())) << "the second copy showed no dialog";
    EXPECT_EQ(second.Process().WaitExit(kDeadline), 1);
    EXPECT_EQ(second.Process().Stdout().find("listening"), std::string::npos);
    EXPECT_TRUE(first->Process().Running());
}

struct LanguageCase {
    const char* locale;
    const char* message;
    bool bHeadless;  // offscreen: no dialog; otherwise the dialog on the X server
};

class SecondCopyMessage : public DisplayTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(SecondCopyMessage, GoesToStandardErrorInTheLocalesLanguage)
{
    auto first = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    EnvChanges env = DisplayEnv();
    env["LC_ALL"] = GetParam().locale;
    std::vector<std::string> args{"--port", "0"};
    if (GetParam().bHeadless) {
        args.insert(args.end(), {"-platform", "offscreen"});
    }
    PavluneProcess second(args, env, m_scratch.Path(), "second");
    if (!GetParam().bHeadless) {
        EXPECT_TRUE(DismissDialogOf(*m_pX, second.Process().Pid())) << "the second copy showed no dialog";
    }
    EXPECT_EQ(second.Process().WaitExit(kDeadline), 1);
    EXPECT_NE(second.Process().Stderr().find(std::string("pavlune: ") + GetParam().message), std::string::npos)
        << second.Process().Stderr();
}

INSTANTIATE_TEST_SUITE_P(ByLocale, SecondCopyMessage,
                         ::testing::Values(LanguageCase{"C.UTF-8", "Pavlune already running?", true},
                                           LanguageCase{"zh_CN.UTF-8", "Pavlune 已经运行.", true},
                                           LanguageCase{"C.UTF-8", "Pavlune already running?", false},
                                           LanguageCase{"zh_CN.UTF-8", "Pavlune 已经运行.", false}));

TEST_F(Startup, AnotherSessionRunsItsOwnCopy)
{
    auto first = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ScratchDir otherSession;
    EnvChanges env = DisplayEnv();
    env["XDG_RUNTIME_DIR"] = otherSession.Path();
    PavluneProcess second({"--port", "0"}, env, m_scratch.Path(), "second");
    EXPECT_NE(second.WaitListening(), 0) << second.Process().Stderr();
}

TEST_F(Startup, TakenPortIsReportedAndTheWindowKeepsRunning)
{
    TakenPort taken;
    ASSERT_NE(taken.Port(), 0);
    PavluneProcess display({"--port", std::to_string(taken.Port()), "--size", "640x480", "--verbose"}, DisplayEnv(),
                           m_scratch.Path());
    EXPECT_TRUE(DismissDialogOf(*m_pX, display.Process().Pid())) << "no message about the port";
    EXPECT_TRUE(WaitForScreen([](const QImage& shot) {
        return AllPixelsAre(shot, {{2, 2}, {kWindowWidth - 3, kWindowHeight - 3}}, kInfoBackground);
    })) << "the window did not go on to the information screen";
    EXPECT_TRUE(display.Process().Running());
    EXPECT_EQ(display.Process().Stdout().find("listening"), std::string::npos);
    EXPECT_NE(display.Process().Stderr().find("bind() failed"), std::string::npos) << display.Process().Stderr();
    EXPECT_NE(display.Process().Stderr().find("pavlune: 无法建立socket监听。。。"), std::string::npos)
        << "the message box's text is not on standard error";
}

class EndingSignal : public DisplayTest, public ::testing::WithParamInterface<int> {};

TEST_P(EndingSignal, EndsTheProgramLikeTheCloseButton)
{
    auto display = StartDisplay({"--verbose"});
    ASSERT_NE(m_nPort, 0);
    display->Process().Signal(GetParam());
    EXPECT_EQ(display->Process().WaitExit(kDeadline), 0);
    // The server was stopped on the way out, not cut off.
    EXPECT_NE(display->Process().Stderr().find("关闭完成端口!"), std::string::npos) << display->Process().Stderr();
}

INSTANTIATE_TEST_SUITE_P(IntAndTerm, EndingSignal, ::testing::Values(SIGINT, SIGTERM));

TEST_F(Startup, WithoutADisplayServerItRunsHeadlessAndKeepsASnapshot)
{
    const std::string snapshot = m_scratch.Path() + "/screen.png";
    EnvChanges env = DisplayEnv();
    env["DISPLAY"] = std::nullopt;
    PavluneProcess display({"--port", "0", "--size", "800x600", "--snapshot", snapshot}, env, m_scratch.Path());
    const int nPort = display.WaitListening();
    ASSERT_NE(nPort, 0) << display.Process().Stderr();
    EXPECT_NE(display.Process().Stderr().find("no display server"), std::string::npos);

    const auto snapshotShows = [&](const std::function<bool(const QImage&)>& condition) {
        return WaitFor([&] {
            QImage image(QString::fromStdString(snapshot));
            return image.size() == QSize(800, 600) && condition(image.convertToFormat(QImage::Format_RGB32));
        }, kDeadline);
    };
    EXPECT_TRUE(snapshotShows([](const QImage& image) {
        return AllPixelsAre(image, {{1, 1}, {798, 598}}, kInfoBackground);
    }));
    ASSERT_EQ(Send(nPort, {"raw", R"({"pub_MsgID":303,"11":300,"13":600,"21":50,"22":50,"72":40,"32":"0,0,255"})"}, m_scratch.Path()).nStatus, 0);
    EXPECT_TRUE(snapshotShows([](const QImage& image) {
        return CountColour(image, image.rect(), qRgb(0, 0, 255)) > 500;
    })) << "the snapshot does not follow the screen";
}

struct CommandLineCase {
    std::vector<std::string> args;
    int nStatus;
    const char* stdoutHas;
    const char* stderrHas;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, AnswersWithoutOpeningAWindow)
{
    ScratchDir scratch;
    std::vector<std::string> argv{PavluneProgram()};
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    const ToolResult r = RunTool(argv,
                                 {{"DISPLAY", std::nullopt},
                                  {"XDG_RUNTIME_DIR", scratch.Path()},
                                  {"XDG_CONFIG_HOME", scratch.Path()}},
                                 scratch.Path());
    EXPECT_EQ(r.nStatus, GetParam().nStatus);
    EXPECT_NE(r.out.find(GetParam().stdoutHas), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(GetParam().stderrHas), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    ::testing::Values(CommandLineCase{{"--version"}, 0, "7.26.36", ""},
                      CommandLineCase{{"-v"}, 0, "pavlune 7.26.36", ""},
                      CommandLineCase{{"--help"}, 0, "--snapshot=FILE", ""},
                      CommandLineCase{{"-h"}, 0, "(default: 9977)", ""},
                      CommandLineCase{{"--port", "65536"}, 2, "", "--port takes a number"},
                      CommandLineCase{{"--port"}, 2, "", "missing value after '--port'"},
                      CommandLineCase{{"--size", "800"}, 2, "", "--size takes"},
                      CommandLineCase{{"--frobnicate"}, 2, "", "unknown option \"--frobnicate\""}));

}  // namespace
