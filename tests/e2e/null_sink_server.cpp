#include "null_sink_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "pavlune_session.h"

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

}  // namespace

bool NullSinkServer::Available()
{
    return OnPath("pulseaudio") && OnPath("pactl") && OnPath("parec");
}

NullSinkServer::NullSinkServer(const std::string& scratch)
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

EnvChanges NullSinkServer::ClientEnv() const
{
    EnvChanges env = m_env;
    env["PULSE_SERVER"] = "unix:" + m_strSocket;
    return env;
}

bool NullSinkServer::Record(const std::string& file)
{
    m_pRecorder = std::make_unique<ChildProcess>(
        std::vector<std::string>{"parec", "--device=bell_sink.monitor", "--raw", "--format=s16le", "--rate=44100",
                                 "--channels=1"},
        ClientEnv(), file, m_strScratch + "/parec.err");
    return WaitFor([&] {
        const ToolResult r = RunTool({"pactl", "list", "short", "source-outputs"}, ClientEnv(), m_strScratch);
        return r.nStatus == 0 && !r.out.empty();
    }, kDeadline);
}

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
