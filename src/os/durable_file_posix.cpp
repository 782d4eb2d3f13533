#include "durable_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool IsRegular(const struct stat& st) { return S_ISREG(st.st_mode); }

// Closes the descriptor it was given, once.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int Get() const { return m_fd; }
    bool Close()
    {
        const bool bOk = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = -1;
        return bOk;
    }

private:
    int m_fd;
};

}  // namespace

struct DurableFile::Handle {
    explicit Handle(int nFd) : fd(nFd) {}
    FileDescriptor fd;
};

DurableFile::DurableFile() = default;

DurableFile::~DurableFile()
{
    if (!m_pHandle) return;
    m_pHandle.reset();
    ::unlink(m_strTmpPath.c_str());
}

bool DurableFile::Open(const std::string& path, TemporaryName name, std::string& strError, Readers readers)
{
    m_strPath = path;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !IsRegular(st)) {
        strError = Failure("not a regular file");
        return false;
    }
    const std::string tmpPath = TemporaryPath(path, name);
    // Not blocking and not through a link: a pipe or a link found at the temporary name is
    // refused, never waited on or followed. A unique name is never one found there.
    const int nCreate = O_CREAT | (name == TemporaryName::Unique ? O_EXCL : O_TRUNC);
    auto pHandle = std::make_unique<Handle>(
        ::open(tmpPath.c_str(), O_WRONLY | nCreate | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC,
               readers == Readers::Owner ? 0600 : 0666));
    if (pHandle->fd.Get() < 0) {
        strError = Failure(std::strerror(errno));
        return false;
    }
    if (::fstat(pHandle->fd.Get(), &st) != 0 || !IsRegular(st)) {
        strError = Failure("not a regular file");
        return false;
    }
    m_pHandle = std::move(pHandle);
    m_strTmpPath = tmpPath;
    return true;
}

bool DurableFile::Write(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_pHandle->fd.Get(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_strError = Failure(std::strerror(errno));
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

bool DurableFile::Commit(std::string& strError)
{
    if (::fsync(m_pHandle->fd.Get()) != 0 || !m_pHandle->fd.Close() ||
        ::rename(m_strTmpPath.c_str(), m_strPath.c_str()) != 0) {
        strError = Failure(std::strerror(errno));
        return false;
    }
    m_pHandle.reset();
    // The rename itself reaches the disk with the folder.
    const std::string folder = std::filesystem::path(m_strPath).parent_path().string();
    FileDescriptor directory(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) ::fsync(directory.Get());
    return true;
}

RegularFile ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    RegularFile result;
    // Not blocking, so that a pipe put in the file's place cannot hold the reader.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        result.bMissing = errno == ENOENT;
        result.strError = SystemError("cannot open it");
        return result;
    }
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.strError = "not a regular file";
        return result;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        result.strError = "larger than a saved page list can be (" + std::to_string(st.st_size) + " bytes)";
        return result;
    }
    // Read up to one byte past the size seen, so a file that grew meanwhile is noticed.
    result.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t nRead = 0;
    while (nRead < result.bytes.size()) {
        const ssize_t n = ::read(file.Get(), result.bytes.data() + nRead, result.bytes.size() - nRead);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.strError = SystemError("cannot read it");
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        nRead += static_cast<std::size_t>(n);
    }
    result.bytes.resize(nRead);
    return result;
}
