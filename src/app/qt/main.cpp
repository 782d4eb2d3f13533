#include <QApplication>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/app_shell.h"
#include "app/qt/message_box_qt.h"
#include "app/qt/qt_options.h"
#include "app/qt/platform_choice.h"
#include "app/qt/screen_choice.h"
#include "core/command_line.h"
#include "core/monitor_choice.h"
#include "os/message_box.h"

int main(int argc, char** argv)
{
    const ParsedOptions parsed =
        ParseOptions(std::vector<std::string>(argv, argv + argc), ConfigFilePath(), QtHandOnOptions());
    // The name without its directory: --help feeds the manual page, which shows no build path.
    const std::string programName = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "pavlune";
    if (const std::optional<int> nAnswered = AnswerCommandLine(parsed, programName, QtHelp())) {
        return *nAnswered;
    }

    PlatformChoice platform = PrepareQtPlatform(parsed.handedOn);
    if (!platform.strError.empty()) {
        std::cerr << "pavlune: " << platform.strError << std::endl;
        return 1;
    }
    std::vector<std::string> qtArgStore = parsed.handedOn;
    std::vector<char*> qtArgv;
    for (std::string& arg : qtArgStore) {
        qtArgv.push_back(arg.data());
    }
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArgStore.size());

    QApplication app(qtArgc, qtArgv.data());
    platform.connection.reset();
    QCoreApplication::setApplicationName(QStringLiteral("Pavlune_win"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PAVLUNE_VERSION));
    // The installed desktop entry is pavlune.desktop; a Wayland compositor finds the
    // window's name and icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("pavlune"));
    ReportPlatformFallback();
    InstallMessageBoxes();

    const std::vector<MonitorInfo> monitors = Monitors();
    const std::optional<std::size_t> nMonitor = ChooseMonitor(parsed.options.strScreen, monitors);
    if (!nMonitor && !parsed.options.strScreen.empty()) {
        return UnknownMonitorError(parsed.options.strScreen, monitors, programName);
    }

    int nStatus = 1;
    {
        CPavlunewinApp pavlune(parsed.options, std::make_unique<QtAppShell>(nMonitor ? MonitorScreen(*nMonitor) : nullptr));
        if (pavlune.InitInstance()) {
            nStatus = pavlune.Run();
        }
    }
    SetMessageBoxHandler(nullptr);
    return nStatus;
}
