#include "single_instance.h"

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
    if (m_nFd >= 0) {
        close(m_nFd);
    }
}

std::string SingleInstanceLock::LockFilePath()
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
    if (m_nFd < 0) {
        // O_NOFOLLOW: in a shared temp dir a planted symbolic link must not make us
        // create or lock a file elsewhere.
        m_nFd = open(LockFilePath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    if (m_nFd < 0) {
        return true;
    }
    int rc;
    do {
        rc = flock(m_nFd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || errno != EWOULDBLOCK;
}
