#include <windows.h>
#include <shellapi.h>
#include <winsock2.h>

#include <iostream>
#include <string>
#include <vector>

#include "options/options.h"
#include "os/file_path.h"
#include "os/message_box.h"
#include "app/win32/console_attach.h"
#include "app/win32/message_box_win32.h"
#include "app/win32/pavlune_app.h"
#include "app/win32/screen_choice.h"
#include "text/wide_text.h"

namespace {

// The command line as Windows keeps it, in UTF-16, so that a path in any script arrives
// whole; the C runtime's argv would carry it in the ANSI code page.
std::vector<std::string> CommandLineArgs()
{
    int nArgs = 0;
    LPWSTR* pArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<std::string> args;
    for (int i = 0; i < nArgs; ++i) {
        args.push_back(WideToUtf8(std::u16string(reinterpret_cast<const char16_t*>(pArgs[i]))));
    }
    LocalFree(pArgs);
    if (args.empty()) args.emplace_back("pavlune");
    return args;
}

PlatformHelp WindowsHelp()
{
    return PlatformHelp{{}, "A right click opens the menu: \"Full screen\" and \"Exit\". F11 switches full screen "
                            "on and off; Escape leaves it."};
}

int CommandLineError(const std::string& what, const std::string& programName)
{
    std::cerr << "pavlune: " << what << "\n" << "Try '" << programName << " --help'." << std::endl;
    return 2;
}

// Windows Sockets, which the server's library would otherwise start on its first use;
// started here so that a failure is told as the user expects it.
class WinsockSession {
public:
    WinsockSession() { m_bStarted = WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~WinsockSession()
    {
        if (m_bStarted) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool Started() const { return m_bStarted; }

private:
    WSADATA m_data{};
    bool m_bStarted = false;
};

}  // namespace

int main()
{
    AttachParentConsole();
    const std::vector<std::string> args = CommandLineArgs();
    const ParsedOptions parsed = ParseOptions(args, ConfigFilePath());
    const std::string programName = Utf8FromPath(PathFromUtf8(args[0]).filename());
    if (!parsed.strError.empty()) return CommandLineError(parsed.strError, programName);
    if (parsed.options.bHelp) {
        std::cout << UsageText(programName, WindowsHelp());
        return 0;
    }
    if (parsed.options.bVersion) {
        std::cout << VersionText();
        return 0;
    }
    const HMONITOR hMonitor = FindMonitor(parsed.options.strScreen);
    if (hMonitor == nullptr && !parsed.options.strScreen.empty()) {
        return CommandLineError("no monitor \"" + parsed.options.strScreen + "\"; the monitors are " + MonitorList(),
                                programName);
    }
    InstallMessageBoxes();
    const WinsockSession winsock;
    if (!winsock.Started()) {
        ShowMessageBox(u"Windows 套接字初始化失败。");
        return 1;
    }
    int nStatus = 1;
    {
        CPavlunewinApp pavlune(parsed.options, hMonitor);
        if (pavlune.InitInstance()) nStatus = pavlune.Run();
    }
    SetMessageBoxHandler(nullptr);
    return nStatus;
}
