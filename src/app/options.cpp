#include "options.h"

#include <charconv>
#include <string_view>

namespace {

bool ParseInt(std::string_view text, int minValue, int maxValue, int& value)
{
    int n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < minValue || n > maxValue) {
        return false;
    }
    value = n;
    return true;
}

// "1920x1080"; each side from 1 to 16384, so that the off-screen image always fits memory.
bool ParseSize(std::string_view text, int& width, int& height)
{
    const auto x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    return ParseInt(text.substr(0, x), 1, 16384, width)
        && ParseInt(text.substr(x + 1), 1, 16384, height);
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args)
{
    ParsedOptions parsed;
    AppOptions& o = parsed.options;
    if (!args.empty()) {
        parsed.qtArgs.push_back(args[0]);
    }
    for (std::size_t i = 1; i < args.size() && parsed.strError.empty(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto needValue = [&](const char* what) {
            if (!hasValue) {
                parsed.strError = arg + " needs " + what;
            }
            return hasValue;
        };
        if (arg == "--port") {
            if (needValue("a port number") && !ParseInt(args[++i], 0, 65535, o.nPort)) {
                parsed.strError = "--port takes a number from 0 to 65535, not \"" + args[i] + "\"";
            }
        } else if (arg == "--size") {
            if (needValue("a size such as 1280x720") && !ParseSize(args[++i], o.nWidth, o.nHeight)) {
                parsed.strError = "--size takes WIDTHxHEIGHT, each from 1 to 16384, not \"" + args[i] + "\"";
            }
        } else if (arg == "--snapshot") {
            if (needValue("a file name")) {
                o.strSnapshot = args[++i];
                if (o.strSnapshot.empty()) {
                    parsed.strError = "--snapshot needs a file name";
                }
            }
        } else if (arg == "--fullscreen") {
            o.bFullScreen = true;
        } else if (arg == "--verbose") {
            o.bVerbose = true;
        } else if (arg == "--help" || arg == "-h") {
            o.bHelp = true;
        } else if (arg == "--version") {
            o.bVersion = true;
        } else {
            parsed.qtArgs.push_back(arg);
        }
    }
    return parsed;
}

std::string UsageText(const std::string& programName)
{
    return "Usage: " + programName + " [options]\n"
           "Shows round clocks and notes for a bridge tournament room; the scoring program\n"
           "drives it over TCP.\n"
           "\n"
           "  --port N         listen on TCP port N (default 9977; 0 picks a free port).\n"
           "                   The port is printed as \"listening on port N\".\n"
           "  --fullscreen     start in full-screen mode (frameless, on top).\n"
           "  --size WxH       start with a client area of W by H pixels, not maximised.\n"
           "  --snapshot FILE  keep FILE a PNG of what the window shows, at most once a second.\n"
           "  --verbose        echo each diagnostic log line to standard error.\n"
           "  --help           show this text.\n"
           "  --version        show the version.\n"
           "  -platform NAME   Qt platform plugin: xcb, wayland, offscreen, linuxfb, eglfs.\n"
           "\n"
           "Without a reachable display server the program runs on the offscreen platform.\n"
           "A right click opens the menu: \"Full screen\" and \"Exit\".\n";
}

std::string VersionText()
{
    return "pavlune " PAVLUNE_VERSION "\n";
}
