#pragma once
#include <functional>
#include <string>

// The few messages the user must see (a second copy, a port that cannot be listened on).
// The application points this at a real dialog; until then they go to standard error.
using MessageBoxHandler = std::function<void(const std::u16string& text)>;

void SetMessageBoxHandler(MessageBoxHandler handler);
void ShowMessageBox(const std::u16string& text);

// What a second copy of the display says before it ends: "Pavlune 已经运行." or
// "Pavlune already running?" by the window's language.
std::u16string AlreadyRunningText(int nLangIndex);
