#pragma once
#include <cstdint>
#include <string>

// One running copy per user session, under the name "SingleClientFlag-Pavlune". The
// system lets go of it with the process, however it ends, so a crashed copy never blocks
// the next start. Each shell implements it with its system's lock
// (app/<platform>/single_instance.cpp).
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();

    // False only when another copy holds the lock; any failure counts as the first copy:
    // better two displays than none.
    bool Acquire();

    // Where the lock lives: a lock file's path, or the name of a system object.
    static std::string LockName();

private:
    // The system's handle of the lock (a file descriptor, a mutex); kNoLock while none.
    static constexpr std::intptr_t kNoLock = -1;
    std::intptr_t m_nLock = kNoLock;
};

inline constexpr const char* kSingleInstanceName = "SingleClientFlag-Pavlune";
