#include <winsock2.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <mutex>
#include <utility>

#include "desk_shell.h"
#include "text/wide_text.h"

namespace {

std::function<void()>& StopCall()
{
    static std::function<void()> stop;
    return stop;
}

BOOL WINAPI OnConsoleEvent(DWORD)
{
    static std::once_flag once;
    std::call_once(once, [] { StopCall()(); });
    return TRUE;
}

}  // namespace

bool OpenBrowser(const std::string& url)
{
    const std::u16string wide = Utf8ToWide(url);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(wide.c_str()),
                                                                nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

void KeepPortAlone(std::intptr_t socket)
{
    // Not with SO_REUSEADDR, which would let another program take the port over.
    const BOOL yes = TRUE;
    setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
               sizeof yes);
}

void HoldConsoleToBeRead()
{
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) != 1) return;
    std::fputs("Press Enter to close this window.\n", stdout);
    std::fflush(stdout);
    std::getchar();
}

void OnEndRequest(std::function<void()> stop)
{
    StopCall() = std::move(stop);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
