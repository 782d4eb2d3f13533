#pragma once
#include <string>

// One running copy per user session: an exclusive advisory lock on a file in the user's
// runtime directory. The kernel drops the lock when the process ends, however it ends,
// so a crashed copy never blocks the next start.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();

    // False only when another process holds the lock. A lock file that cannot be opened
    // at all counts as the first copy: better two displays than none.
    bool Acquire();

    static std::string LockFilePath();

private:
    int m_nFd = -1;
};

inline constexpr const char* kSingleInstanceName = "SingleClientFlag-Pavlune";
