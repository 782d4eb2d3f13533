#include <windows.h>
#include <shellapi.h>
#include <winsock2.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/app_shell.h"
#include "app/win32/console_attach.h"
#include "app/win32/message_box_win32.h"
#include "app/win32/screen_choice.h"
#include "core/command_line.h"
#include "core/monitor_choice.h"
#include "options/options.h"
#include "os/file_path.h"
#include "os/message_box.h"
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
    if (const std::optional<int> nAnswered = AnswerCommandLine(parsed, programName, WindowsHelp())) return *nAnswered;
    const std::vector<MonitorInfo> monitors = Monitors();
    const std::optional<std::size_t> nMonitor = ChooseMonitor(parsed.options.strScreen, monitors);
    if (!nMonitor && !parsed.options.strScreen.empty()) {
        return UnknownMonitorError(parsed.options.strScreen, monitors, programName);
    }
    InstallMessageBoxes();
    const WinsockSession winsock;
    if (!winsock.Started()) {
        ShowMessageBox(u"Windows 套接字初始化失败。");
        return 1;
    }
    int nStatus = 1;
    {
        CPavlunewinApp pavlune(parsed.options,
                               std::make_unique<Win32AppShell>(nMonitor ? MonitorHandle(*nMonitor) : nullptr));
        if (pavlune.InitInstance()) nStatus = pavlune.Run();
    }
    SetMessageBoxHandler(nullptr);
    return nStatus;
}
