// One copy per logon session on Windows: the named mutex in the session's own namespace,
// so another user or a remote session runs its own copy.
#include "core/single_instance.h"

#include <windows.h>

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_nLock != kNoLock) CloseHandle(reinterpret_cast<HANDLE>(m_nLock));
}

std::string SingleInstanceLock::LockName()
{
    return kSingleInstanceName;
}

bool SingleInstanceLock::Acquire()
{
    if (m_nLock == kNoLock) {
        const HANDLE hMutex = CreateMutexW(nullptr, TRUE, L"SingleClientFlag-Pavlune");
        const bool bFirst = GetLastError() != ERROR_ALREADY_EXISTS;
        if (hMutex != nullptr) m_nLock = reinterpret_cast<std::intptr_t>(hMutex);
        return bFirst;
    }
    return true;
}
