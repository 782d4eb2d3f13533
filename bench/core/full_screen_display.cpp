#include "full_screen_display.h"

#include <regex>

#include "wait_for.h"

FullScreenDisplay::FullScreenDisplay(int nWidth, int nHeight, const std::string& dir)
    : m_x(nWidth, nHeight, dir),
      m_display({PAVLUNE_BINARY_DIR "/pavlune", "--port", "0", "--fullscreen"}, DisplayEnv(m_x, dir),
                dir + "/pavlune.out", dir + "/pavlune.err")
{
    std::smatch m;
    std::string out;
    const std::regex listening("listening on port ([0-9]+)");
    if (m_x.Started() &&
        WaitFor([&] { return std::regex_search(out = m_display.Stdout(), m, listening); }, std::chrono::seconds(30))) {
        m_nPort = std::stoi(m[1].str());
    }
}

EnvChanges FullScreenDisplay::DisplayEnv(const XServer& x, const std::string& dir)
{
    EnvChanges env = x.Env();
    // Nor the tester's settings and saved pages: the bench starts empty and keeps its own.
    env["XDG_RUNTIME_DIR"] = dir;
    env["XDG_CONFIG_HOME"] = dir + "/config";
    env["XDG_STATE_HOME"] = dir + "/state";
    env["QT_QPA_PLATFORM"] = std::nullopt;
    return env;
}
