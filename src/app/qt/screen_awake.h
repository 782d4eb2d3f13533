#pragma once
#include <memory>

// Keeps the screen from blanking for as long as it lives, and lets it blank again when it
// goes. On X the screen saver and its DPMS timer are suspended through the X connection,
// so a crash releases them with the connection; a desktop's freedesktop ScreenSaver
// service, when the session bus has one, holds an inhibition as well. Nothing else of
// the desktop's settings is changed. Window thread only, with the application object.
class ScreenAwake {
public:
    ScreenAwake();
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;
    ~ScreenAwake();

private:
    struct DesktopInhibit;

    void* m_pXDisplay = nullptr;  // Qt's X connection while the suspension holds
    std::shared_ptr<DesktopInhibit> m_pInhibit;
};
