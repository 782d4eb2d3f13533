#include <QApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/message_box_qt.h"
#include "app/options.h"
#include "app/pavlune_app.h"
#include "app/platform_choice.h"
#include "platform/message_box.h"

namespace {

int CommandLineError(const std::string& what, const std::string& programName)
{
    std::cerr << "pavlune: " << what << "\n" << "Try '" << programName << " --help'." << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv, argv + argc), ConfigFilePath());
    // The name without its directory: --help feeds the manual page, which shows no build path.
    const std::string programName = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "pavlune";
    if (!parsed.strError.empty()) {
        return CommandLineError(parsed.strError, programName);
    }
    if (parsed.options.bHelp) {
        std::cout << UsageText(programName);
        return 0;
    }
    if (parsed.options.bVersion) {
        std::cout << VersionText();
        return 0;
    }

    PrepareQtPlatform(parsed.qtArgs);
    std::vector<std::string> qtArgStore = parsed.qtArgs;
    std::vector<char*> qtArgv;
    for (std::string& arg : qtArgStore) {
        qtArgv.push_back(arg.data());
    }
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArgStore.size());

    QApplication app(qtArgc, qtArgv.data());
    QCoreApplication::setApplicationName(QStringLiteral("Pavlune_win"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PAVLUNE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("Pavlunewin.AppID.NoVersion"));
    ReportPlatformFallback();
    InstallMessageBoxes();

    int nStatus = 1;
    {
        CPavlunewinApp pavlune(parsed.options);
        if (pavlune.InitInstance()) {
            nStatus = pavlune.Run();
        }
    }
    SetMessageBoxHandler(nullptr);
    return nStatus;
}
