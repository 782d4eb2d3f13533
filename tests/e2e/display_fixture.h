#pragma once
#include <functional>

#include "pavlune_session.h"

// A private X server of 1024 x 768 and a scratch directory; the display under test is
// started into them with English texts unless a test says otherwise.
class DisplayTest : public ::testing::Test {
public:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;
    // With no window manager, a window given a size sits at the top left of the screen.
    static constexpr int kWindowWidth = 640;
    static constexpr int kWindowHeight = 480;

protected:

    void SetUp() override;

    EnvChanges DisplayEnv() const;
    // Started with --port 0 and the window size above; fails the test unless it listens.
    std::unique_ptr<PavluneProcess> StartDisplay(std::vector<std::string> extraArgs = {});
    bool WaitForScreen(const std::function<bool(const QImage&)>& condition) const;
    ToolResult SendTo(const std::vector<std::string>& args) const { return Send(m_nPort, args, m_scratch.Path()); }
    std::string WritePicture(const std::string& name, QRgb colour) const;

    // The information screen over the whole screen: full-screen mode.
    static bool CoversScreen(const QImage& shot);
    // The information screen in the window of the size above, and the bare screen beside it.
    static bool ShowsFramedWindowOnly(const QImage& shot);
    // A display just started: once its framed window shows, F11 with the pointer resting
    // on it takes it to full screen over the whole screen.
    ::testing::AssertionResult PressF11IntoFullScreen() const;

    ScratchDir m_scratch;
    std::unique_ptr<XServer> m_pX;
    int m_nPort = 0;
};
