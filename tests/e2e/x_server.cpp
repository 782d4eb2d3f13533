#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>


namespace {

// Reads the display number that Xvfb writes to the pipe once it accepts connections.
std::string ReadDisplayNumber(int fd, std::chrono::milliseconds deadline)
{
    std::string text;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return {};
        }
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buf[32];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) {
            return {};
        }
        text.append(buf, static_cast<std::size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

XServer::XServer(int nWidth, int nHeight, const std::string& scratchDir) : m_strScratch(scratchDir)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    // Kept clear of 3 itself, where a copy onto itself would stay close-on-exec.
    const int nWriteFd = fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
    close(fds[1]);
    const std::string screen = std::to_string(nWidth) + "x" + std::to_string(nHeight) + "x24";
    // The write end reaches Xvfb as descriptor 3; Xvfb writes its display number there.
    m_pXvfb = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
        EnvChanges{}, scratchDir + "/xvfb.out", scratchDir + "/xvfb.err", nWriteFd);
    close(nWriteFd);
    const std::string number = ReadDisplayNumber(fds[0], std::chrono::seconds(30));
    close(fds[0]);
    if (!number.empty()) {
        m_strDisplay = ":" + number;
    }
}

EnvChanges XServer::Env() const
{
    return {{"DISPLAY", m_strDisplay}, {"XAUTHORITY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
}

QImage XServer::Screenshot() const
{
    const ToolResult r = RunTool({"import", "-display", m_strDisplay, "-window", "root", "png:-"}, Env(), m_strScratch);
    if (r.nStatus != 0) {
        return {};
    }
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(r.out.data()), static_cast<int>(r.out.size()), "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

int XServer::XDoTool(const std::vector<std::string>& args, std::string* pOut) const
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    const ToolResult r = RunTool(argv, Env(), m_strScratch);
    if (pOut != nullptr) {
        *pOut = r.out;
    }
    return r.nStatus;
}
