#include "pavlune_session.h"

#include <cstdlib>
#include <filesystem>
#include <regex>

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "pavlune-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_strPath = pattern;
    }
}

ScratchDir::~ScratchDir()
{
    if (!m_strPath.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_strPath, ec);
    }
}

std::string PavluneProgram() { return PAVLUNE_BINARY_DIR "/pavlune"; }
std::string SendProgram() { return PAVLUNE_BINARY_DIR "/pavlune-send"; }

PavluneProcess::PavluneProcess(const std::vector<std::string>& args, const EnvChanges& env,
                               const std::string& scratchDir, const std::string& name)
{
    std::vector<std::string> argv{PavluneProgram()};
    argv.insert(argv.end(), args.begin(), args.end());
    m_pProcess = std::make_unique<ChildProcess>(argv, env, scratchDir + "/" + name + ".out",
                                                scratchDir + "/" + name + ".err");
}

int WaitListening(ChildProcess& process)
{
    static const std::regex listening("listening on port ([0-9]+)");
    int nPort = 0;
    WaitFor([&] {
        std::smatch m;
        const std::string out = process.Stdout();
        if (std::regex_search(out, m, listening)) {
            nPort = std::stoi(m[1].str());
            return true;
        }
        return !process.Running();
    }, kDeadline);
    return nPort;
}

int PavluneProcess::WaitListening()
{
    return ::WaitListening(*m_pProcess);
}

ToolResult Send(int nPort, const std::vector<std::string>& args, const std::string& scratchDir)
{
    std::vector<std::string> argv{SendProgram(), "--host", "127.0.0.1", "--port", std::to_string(nPort)};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, {}, scratchDir);
}

int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int nCount = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            nCount += (line[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu) ? 1 : 0;
        }
    }
    return nCount;
}

bool AllPixelsAre(const QImage& image, const std::vector<QPoint>& points, QRgb colour)
{
    for (const QPoint& p : points) {
        if (!image.valid(p) || (image.pixel(p) & 0xFFFFFFu) != (colour & 0xFFFFFFu)) {
            return false;
        }
    }
    return true;
}
