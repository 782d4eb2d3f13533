#pragma once
#include <windows.h>

// One running copy per logon session: the named mutex "SingleClientFlag-Pavlune" in the
// session's own namespace, so another user or a remote session runs its own copy. The
// system drops the mutex with the process, however it ends.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();

    // False only when another copy holds the mutex; any failure counts as the first copy.
    bool Acquire();

private:
    HANDLE m_hMutex = nullptr;
};
