// One copy per session on Linux: an exclusive advisory lock on a file in the user's
// runtime directory, which the kernel drops when the process ends.
#include "core/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDirectory(const char* path)
{
    struct stat st {};
    return path != nullptr && *path != '\0' && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_nLock != kNoLock) {
        close(static_cast<int>(m_nLock));
    }
}

std::string SingleInstanceLock::LockName()
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (IsDirectory(runtimeDir)) {
        return std::string(runtimeDir) + "/" + kSingleInstanceName + ".lock";
    }
    // The temp dir is shared by every user: the user id keeps sessions of different
    // users apart, as a per-session name would.
    const char* tmpDir = std::getenv("TMPDIR");
    const std::string dir = IsDirectory(tmpDir) ? tmpDir : "/tmp";
    return dir + "/" + kSingleInstanceName + "-" + std::to_string(getuid()) + ".lock";
}

bool SingleInstanceLock::Acquire()
{
    if (m_nLock == kNoLock) {
        // O_NOFOLLOW: in a shared temp dir a planted symbolic link must not make us
        // create or lock a file elsewhere.
        const int nFd = open(LockName().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (nFd < 0) {
            return true;
        }
        m_nLock = nFd;
    }
    int rc;
    do {
        rc = flock(static_cast<int>(m_nLock), LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || errno != EWOULDBLOCK;
}
