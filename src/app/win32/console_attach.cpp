#include "console_attach.h"

#include <windows.h>

#include <cstdio>

namespace {

// A standard handle the parent gave the program (a file, a pipe, a console of its own).
bool HasStdHandle(DWORD nWhich)
{
    const HANDLE h = GetStdHandle(nWhich);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void AttachParentConsole()
{
    const bool bOut = HasStdHandle(STD_OUTPUT_HANDLE);
    const bool bErr = HasStdHandle(STD_ERROR_HANDLE);
    if (bOut && bErr) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // Only the streams that were not redirected go to the console.
    if (!bOut) std::freopen("CONOUT$", "w", stdout);
    if (!bErr) std::freopen("CONOUT$", "w", stderr);
}
