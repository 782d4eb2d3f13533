#include "x_probe.h"

#include <memory>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>

namespace {

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

DisplayPtr Open(const std::string& display)
{
    return DisplayPtr(XOpenDisplay(display.c_str()), XCloseDisplay);
}

}  // namespace

bool CursorIsBlank(const std::string& display)
{
    const DisplayPtr pDisplay = Open(display);
    int nEvent = 0;
    int nError = 0;
    int nMajor = 4;
    int nMinor = 0;
    if (!pDisplay || !XFixesQueryExtension(pDisplay.get(), &nEvent, &nError)
        || !XFixesQueryVersion(pDisplay.get(), &nMajor, &nMinor)) {
        return false;
    }
    std::unique_ptr<XFixesCursorImage, int (*)(void*)> pImage(XFixesGetCursorImage(pDisplay.get()), XFree);
    if (!pImage) {
        return false;
    }
    const unsigned long nPixels = static_cast<unsigned long>(pImage->width) * pImage->height;
    for (unsigned long i = 0; i < nPixels; ++i) {
        // ARGB in an unsigned long each; a pixel with any alpha is drawn.
        if ((pImage->pixels[i] & 0xFF000000ul) != 0) {
            return false;
        }
    }
    return true;
}

SaverState ScreenSaverState(const std::string& display)
{
    const DisplayPtr pDisplay = Open(display);
    int nEvent = 0;
    int nError = 0;
    if (!pDisplay || !XScreenSaverQueryExtension(pDisplay.get(), &nEvent, &nError)) {
        return SaverState::kUnknown;
    }
    std::unique_ptr<XScreenSaverInfo, int (*)(void*)> pInfo(XScreenSaverAllocInfo(), XFree);
    if (!pInfo || !XScreenSaverQueryInfo(pDisplay.get(), DefaultRootWindow(pDisplay.get()), pInfo.get())) {
        return SaverState::kUnknown;
    }
    switch (pInfo->state) {
    case ScreenSaverOff:
        return SaverState::kOff;
    case ScreenSaverOn:
        return SaverState::kOn;
    case ScreenSaverDisabled:
        return SaverState::kDisabled;
    default:
        return SaverState::kUnknown;
    }
}
