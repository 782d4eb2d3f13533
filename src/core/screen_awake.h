#pragma once
#include <memory>

// Keeps the screen from blanking for as long as it lives, and lets it blank again when it
// goes; nothing else of the desktop's settings changes. Made and ended on the window
// thread while full screen is on (CDisplayCore::HoldScreenAwake). Each shell implements
// it with its system's calls (app/<platform>/screen_awake.cpp).
class ScreenAwake {
public:
    ScreenAwake();
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;
    ~ScreenAwake();

private:
    // What the system gave to be handed back; null where it keeps nothing.
    struct Hold;
    std::unique_ptr<Hold> m_pHold;
};
