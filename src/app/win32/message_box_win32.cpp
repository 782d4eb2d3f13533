#include "message_box_win32.h"

#include <windows.h>

#include <iostream>
#include <string>
#include <thread>

#include "os/message_box.h"
#include "text/wide_text.h"

namespace {

void ShowBox(const std::u16string& text)
{
    const std::wstring wide(text.begin(), text.end());
    MessageBoxW(nullptr, wide.c_str(), L"Pavlune_win", MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

}  // namespace

void InstallMessageBoxes()
{
    const DWORD nWindowThread = GetCurrentThreadId();
    SetMessageBoxHandler([nWindowThread](const std::u16string& text) {
        std::cerr << ("pavlune: " + WideToUtf8(text) + "\n") << std::flush;
        if (GetCurrentThreadId() == nWindowThread) {
            ShowBox(text);
        } else {
            std::thread([text] { ShowBox(text); }).detach();
        }
    });
}
