#include "wine_display.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "pavlune_session.h"
#include "wait_for.h"

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string PrefixUserName()
{
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "root";
}

std::string PrefixUserDir() { return Env("WINEPREFIX") + "/drive_c/users/" + PrefixUserName(); }

std::string WindowsProgram(const std::string& name)
{
    return Env("PAVLUNE_WINDOWS_BUILD") + "/" + name;
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string PrefixStateDir() { return PrefixUserDir() + "/AppData/Local/Pavlune"; }
std::string PrefixConfigDir() { return PrefixUserDir() + "/AppData/Roaming/Pavlune"; }

WineDisplay::WineDisplay(const std::vector<std::string>& args, const std::string& scratchDir, const EnvChanges& env,
                         const std::string& name, const std::string& program)
    : m_strSnapshot(scratchDir + "/" + name + ".png")
{
    std::vector<std::string> argv{"wine", program.empty() ? WindowsProgram("pavlune.exe") : program, "--snapshot",
                                  WindowsPath(m_strSnapshot)};
    // A free port, never the standard one that a real display on this machine may hold.
    if (std::find(args.begin(), args.end(), "--port") == args.end()) {
        argv.insert(argv.end(), {"--port", "0"});
    }
    argv.insert(argv.end(), args.begin(), args.end());
    EnvChanges all = env;
    all.emplace("PAVLUNE_SNAPSHOT_OPS", "1");
    m_pProcess = std::make_unique<ChildProcess>(argv, all, scratchDir + "/" + name + ".out",
                                                scratchDir + "/" + name + ".err");
}

int WineDisplay::WaitListening()
{
    return ::WaitListening(*m_pProcess);
}

QImage WineDisplay::Snapshot() const
{
    return QImage(QString::fromStdString(m_strSnapshot)).convertToFormat(QImage::Format_RGB32);
}

std::vector<ShownOp> WineDisplay::Ops() const
{
    return ParseOps(ReadFile(m_strSnapshot + ".ops"));
}

std::optional<ShownOp> WineDisplay::WaitForText(const std::string& needle, std::chrono::milliseconds deadline) const
{
    std::optional<ShownOp> found;
    WaitFor([&] {
        for (const ShownOp& op : Ops()) {
            if (op.kind == "Text" && op.text.find(needle) != std::string::npos) {
                found = op;
                return true;
            }
        }
        return false;
    }, deadline);
    return found;
}

QRect ColourBox(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int XDoTool(const std::vector<std::string>& args)
{
    ScratchDir scratch;
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, {}, scratch.Path()).nStatus;
}
