#include "display_fixture.h"

void DisplayTest::SetUp()
{
    ASSERT_FALSE(m_scratch.Path().empty());
    m_pX = std::make_unique<XServer>(kScreenWidth, kScreenHeight, m_scratch.Path());
    ASSERT_TRUE(m_pX->Started()) << "Xvfb did not start";
}

EnvChanges DisplayTest::DisplayEnv() const
{
    EnvChanges env = m_pX->Env();
    env["XDG_RUNTIME_DIR"] = m_scratch.Path();
    // Never the tester's own settings; a test writes a configuration file here if it wants one.
    env["XDG_CONFIG_HOME"] = m_scratch.Path() + "/config";
    // Nor the tester's desktop: a bus that is not there, unless a test starts one here.
    env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + m_scratch.Path() + "/bus";
    // Nor the tester's saved pages: each test starts with none and keeps its own.
    env["XDG_STATE_HOME"] = m_scratch.Path() + "/state";
    env["LC_ALL"] = "C.UTF-8";
    env["QT_QPA_PLATFORM"] = std::nullopt;
    // A snapshot comes with the operations that drew it, for tests that read texts.
    env["PAVLUNE_SNAPSHOT_OPS"] = "1";
    return env;
}

std::unique_ptr<PavluneProcess> DisplayTest::StartDisplay(std::vector<std::string> extraArgs)
{
    std::vector<std::string> args{"--port", "0", "--size",
                                  std::to_string(kWindowWidth) + "x" + std::to_string(kWindowHeight)};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    auto display = std::make_unique<PavluneProcess>(args, DisplayEnv(), m_scratch.Path());
    m_nPort = display->WaitListening();
    EXPECT_NE(m_nPort, 0) << "no port announced; stderr:\n" << display->Process().Stderr();
    return display;
}

bool DisplayTest::WaitForScreen(const std::function<bool(const QImage&)>& condition) const
{
    return WaitFor([&] {
        const QImage shot = m_pX->Screenshot();
        return !shot.isNull() && condition(shot);
    }, kDeadline);
}

std::string DisplayTest::WritePicture(const std::string& name, QRgb colour) const
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(colour);
    const std::string path = m_scratch.Path() + "/" + name;
    EXPECT_TRUE(picture.save(QString::fromStdString(path), "PNG"));
    return path;
}

bool DisplayTest::CoversScreen(const QImage& shot)
{
    const int r = kScreenWidth - 3;
    const int b = kScreenHeight - 3;
    return AllPixelsAre(shot, {{2, 2}, {r, 2}, {2, b}, {r, b}}, kInfoBackground);
}

bool DisplayTest::ShowsFramedWindowOnly(const QImage& shot)
{
    return AllPixelsAre(shot, {{2, 2}, {kWindowWidth - 3, kWindowHeight - 3}}, kInfoBackground)
        && AllPixelsAre(shot, {{kScreenWidth - 3, kScreenHeight - 3}}, qRgb(0, 0, 0));
}

::testing::AssertionResult DisplayTest::PressF11IntoFullScreen() const
{
    if (!WaitForScreen(ShowsFramedWindowOnly)) return ::testing::AssertionFailure() << "no framed window";
    if (m_pX->XDoTool({"mousemove", "--sync", "100", "100", "key", "F11"}) != 0) {
        return ::testing::AssertionFailure() << "xdotool failed";
    }
    if (!WaitForScreen(CoversScreen)) return ::testing::AssertionFailure() << "full screen does not cover the screen";
    return ::testing::AssertionSuccess();
}
