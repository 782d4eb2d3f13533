#include "platform_choice.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>

namespace {

bool g_bFallbackOffered = false;

bool HasEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

void PrepareQtPlatform(const std::vector<std::string>& qtArgs)
{
    for (const std::string& arg : qtArgs) {
        if (arg == "-platform" || arg == "--platform") {
            return;
        }
    }
    if (HasEnv("QT_QPA_PLATFORM")) {
        return;
    }
    const char* choices = HasEnv("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen";
    setenv("QT_QPA_PLATFORM", choices, 1);
    g_bFallbackOffered = true;
}

void ReportPlatformFallback()
{
    if (!g_bFallbackOffered || QGuiApplication::platformName() != QLatin1String("offscreen")) {
        return;
    }
    const char* display = std::getenv("DISPLAY");
    std::cerr << "pavlune: no display server could be reached (DISPLAY="
              << (display != nullptr ? display : "") << "); running on the offscreen platform"
              << std::endl;
}

bool IsHeadlessPlatform()
{
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}
