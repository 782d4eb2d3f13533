#pragma once
#include <string>
#include <vector>

// The window's timer, menu and keys, the same on every platform. The numbers are those
// of the original program's resources, which scripts and tests name.
inline constexpr int IDT_REPAINT = 8319;
inline constexpr int kRepaintPeriodMs = 100;
inline constexpr int IDM_FULLSCREEN = 2002;
inline constexpr int IDM_EXIT = 2010;

// The keys the window answers; every other key is the window system's.
enum class FrameKey { F11, Escape, Other };

// One line of the context menu; a separator has no command.
struct MenuItem {
    int nCommand = 0;
    std::u16string text;
    bool bChecked = false;
};

// The context menu as it opens now: "Full screen" (checked while full screen), a
// separator, "Exit", in the window's language.
std::vector<MenuItem> ContextMenu(bool bFullScreen);

// The command a key stands for, or 0: F11 switches full screen, Escape only leaves it.
// No key ends the program, so a stray keyboard cannot close a playing room's display.
int CommandForKey(FrameKey key, bool bFullScreen);
