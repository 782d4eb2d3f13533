#include <windows.h>

#include <shellapi.h>

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

void OnEndRequest(std::function<void()> stop)
{
    StopCall() = std::move(stop);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
