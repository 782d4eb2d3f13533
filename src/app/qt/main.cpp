#include <QApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/qt/message_box_qt.h"
#include "app/qt/qt_options.h"
#include "app/qt/pavlune_app.h"
#include "app/qt/platform_choice.h"
#include "app/qt/screen_choice.h"
#include "os/message_box.h"

namespace {

int CommandLineError(const std::string& what, const std::string& programName)
{
    std::cerr << "pavlune: " << what << "\n" << "Try '" << programName << " --help'." << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const ParsedOptions parsed =
        ParseOptions(std::vector<std::string>(argv, argv + argc), ConfigFilePath(), QtHandOnOptions());
    // The name without its directory: --help feeds the manual page, which shows no build path.
    const std::string programName = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "pavlune";
    if (!parsed.strError.empty()) {
        return CommandLineError(parsed.strError, programName);
    }
    if (parsed.options.bHelp) {
        std::cout << UsageText(programName, QtHelp());
        return 0;
    }
    if (parsed.options.bVersion) {
        std::cout << VersionText();
        return 0;
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

    QScreen* pScreen = FindScreen(parsed.options.strScreen);
    if (pScreen == nullptr && !parsed.options.strScreen.empty()) {
        return CommandLineError("no monitor \"" + parsed.options.strScreen + "\"; the monitors are " + MonitorList(),
                                programName);
    }

    int nStatus = 1;
    {
        CPavlunewinApp pavlune(parsed.options, pScreen);
        if (pavlune.InitInstance()) {
            nStatus = pavlune.Run();
        }
    }
    SetMessageBoxHandler(nullptr);
    return nStatus;
}
