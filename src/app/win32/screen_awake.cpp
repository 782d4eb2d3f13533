#include "screen_awake.h"

#include <windows.h>

#include "net/diag_log.h"

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
