// The screen kept awake on Windows: SetThreadExecutionState on the window thread, which
// keeps the display on and the machine from sleeping. Each change writes a line to the
// diagnostic log: Wine accepts the call but shows no effect, so the log is where a test
// sees it was made.
#include "core/screen_awake.h"

#include <windows.h>

#include "net/diag_log.h"

// The execution state belongs to the thread; nothing is kept.
struct ScreenAwake::Hold {};

ScreenAwake::ScreenAwake()
{
    const EXECUTION_STATE previous = SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    WriteLog(previous != 0 ? u"screen kept awake: SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | "
                             u"ES_SYSTEM_REQUIRED)"
                           : u"screen kept awake: SetThreadExecutionState failed");
}

ScreenAwake::~ScreenAwake()
{
    SetThreadExecutionState(ES_CONTINUOUS);
    WriteLog(u"screen may blank again: SetThreadExecutionState(ES_CONTINUOUS)");
}
