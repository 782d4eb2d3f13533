#include "message_box.h"

#include <iostream>
#include <mutex>
#include <string>

#include "text/wide_text.h"

namespace {

std::mutex g_mtxHandler;
MessageBoxHandler g_handler;

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard lock(g_mtxHandler);
    g_handler = std::move(handler);
}

void ShowMessageBox(const std::u16string& text)
{
    MessageBoxHandler handler;
    {
        std::lock_guard lock(g_mtxHandler);
        handler = g_handler;
    }
    if (handler) {
        handler(text);
    } else {
        std::cerr << WideToUtf8(text) << std::endl;
    }
}

std::u16string AlreadyRunningText(int nLangIndex)
{
    return nLangIndex == 0 ? u"Pavlune 已经运行." : u"Pavlune already running?";
}
