#include "platform_choice.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>

#include "app/qt/display_probe.h"

namespace {

bool g_bFallbackTaken = false;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value after a Qt option such as -platform, or empty.
std::string QtOption(const std::vector<std::string>& qtArgs, const std::string& name)
{
    for (std::size_t i = 1; i + 1 < qtArgs.size(); ++i) {
        if (qtArgs[i] == "-" + name) {
            return qtArgs[i + 1];
        }
    }
    return {};
}

struct NamedServer {
    bool bX;  // an X display, else a Wayland one
    std::string name;
    const char* namedBy;

    const char* Platform() const { return bX ? "xcb" : "wayland"; }
    DisplayConnection Connect() const { return bX ? ConnectXDisplay(name) : ConnectWaylandDisplay(name); }
};

PlatformChoice Unreachable(const std::vector<NamedServer>& servers)
{
    std::string text = "cannot reach ";
    for (std::size_t i = 0; i < servers.size(); ++i) {
        text += std::string(i > 0 ? " nor " : "") + (servers[i].bX ? "the X display \"" : "the Wayland display \"")
              + servers[i].name + "\" (" + servers[i].namedBy + ")";
    }
    return {text, nullptr};
}

}  // namespace

PlatformChoice PrepareQtPlatform(const std::vector<std::string>& qtArgs)
{
    const std::string displayArg = QtOption(qtArgs, "display");
    const NamedServer x{true, displayArg.empty() ? Env("DISPLAY") : displayArg,
                        displayArg.empty() ? "DISPLAY" : "-display"};
    const NamedServer wayland{false, Env("WAYLAND_DISPLAY").empty() ? "wayland-0" : Env("WAYLAND_DISPLAY"),
                              Env("WAYLAND_DISPLAY").empty() ? "Wayland's default" : "WAYLAND_DISPLAY"};

    std::string chosen = QtOption(qtArgs, "platform");
    if (chosen.empty()) {
        chosen = Env("QT_QPA_PLATFORM");
    }
    if (!chosen.empty()) {
        // Parameters follow the plugin's name after a colon: "xcb:...".
        const std::string plugin = chosen.substr(0, chosen.find(':'));
        if (plugin == "xcb") {
            if (x.name.empty()) {
                return {"-platform xcb, but no X display is named (DISPLAY is not set)", nullptr};
            }
            DisplayConnection connection = x.Connect();
            return connection ? PlatformChoice{{}, std::move(connection)} : Unreachable({x});
        }
        if (plugin == "wayland" || plugin == "wayland-egl") {
            DisplayConnection connection = wayland.Connect();
            return connection ? PlatformChoice{{}, std::move(connection)} : Unreachable({wayland});
        }
        return {};
    }

    std::vector<NamedServer> named;
    if (!Env("WAYLAND_DISPLAY").empty()) {
        named.push_back(wayland);
    }
    if (!x.name.empty()) {
        named.push_back(x);
    }
    if (named.empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        g_bFallbackTaken = true;
        return {};
    }
    for (const NamedServer& server : named) {
        if (DisplayConnection connection = server.Connect()) {
            setenv("QT_QPA_PLATFORM", server.Platform(), 1);
            return {{}, std::move(connection)};
        }
    }
    return Unreachable(named);
}

void ReportPlatformFallback()
{
    if (g_bFallbackTaken) {
        std::cerr << "pavlune: no display server is named (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                     "running on the offscreen platform"
                  << std::endl;
    }
}

bool IsHeadlessPlatform()
{
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}
