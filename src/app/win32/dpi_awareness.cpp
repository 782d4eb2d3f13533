#include "dpi_awareness.h"

#include <windows.h>

#include "text/wide_text.h"

std::u16string DpiAwarenessLine()
{
    const DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
    std::u16string awareness;
    if (AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        awareness = u"per-monitor v2";
    } else {
        switch (GetAwarenessFromDpiAwarenessContext(context)) {
        case DPI_AWARENESS_PER_MONITOR_AWARE: awareness = u"per-monitor"; break;
        case DPI_AWARENESS_SYSTEM_AWARE: awareness = u"system"; break;
        case DPI_AWARENESS_UNAWARE: awareness = u"unaware"; break;
        default: awareness = u"unknown"; break;
        }
    }
    return u"DPI awareness: " + awareness + u", " + IntToWide(static_cast<int>(GetDpiForSystem())) + u" dpi";
}
