#include "page_state_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

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

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Output in pieces of about this size, so that a large list is written in few calls.
constexpr std::size_t kWriteChunk = 1 << 20;

bool WriteBuffered(int fd, const SavedPages& saved)
{
    std::vector<std::uint8_t> buffer;
    buffer.reserve(kWriteChunk);
    const bool bEncoded = EncodePageState(saved, [&](std::span<const std::uint8_t> piece) {
        if (buffer.size() + piece.size() > kWriteChunk) {
            if (!WriteAll(fd, buffer)) return false;
            buffer.clear();
        }
        if (piece.size() >= kWriteChunk) return WriteAll(fd, piece);
        buffer.insert(buffer.end(), piece.begin(), piece.end());
        return true;
    });
    return bEncoded && WriteAll(fd, buffer);
}

}  // namespace

bool WritePageStateFile(const std::string& strDir, const SavedPages& saved, std::string& strError)
{
    std::error_code ec;
    std::filesystem::create_directories(strDir, ec);
    if (ec) {
        strError = "cannot make " + strDir + ": " + ec.message();
        return false;
    }
    const std::string path = strDir + "/" + kPageStateFileName;
    // One name for the temporary file: one left by a write that was cut off is
    // overwritten by the next, never piled up.
    const std::string tmpPath = path + ".tmp";
    FileDescriptor file(::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (file.Get() < 0) {
        strError = SystemError("cannot write " + tmpPath);
        return false;
    }
    if (!WriteBuffered(file.Get(), saved) || ::fsync(file.Get()) != 0 || !file.Close()) {
        strError = SystemError("cannot write " + tmpPath);
        ::unlink(tmpPath.c_str());
        return false;
    }
    if (::rename(tmpPath.c_str(), path.c_str()) != 0) {
        strError = SystemError("cannot rename " + tmpPath);
        ::unlink(tmpPath.c_str());
        return false;
    }
    // The rename itself reaches the disk with the directory.
    FileDescriptor dir(::open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
    return true;
}

ReadState ReadPageStateFile(const std::string& strPath)
{
    ReadState result;
    // Not blocking, so that a pipe put in the file's place cannot hold the reader.
    FileDescriptor file(::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
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
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxPageStateBytes) {
        result.strError = "larger than a saved page list can be (" + std::to_string(st.st_size) + " bytes)";
        return result;
    }
    // Read up to one byte past the size seen, so a file that grew meanwhile is noticed.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t nRead = 0;
    while (nRead < bytes.size()) {
        const ssize_t n = ::read(file.Get(), bytes.data() + nRead, bytes.size() - nRead);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.strError = SystemError("cannot read it");
            return result;
        }
        if (n == 0) break;
        nRead += static_cast<std::size_t>(n);
    }
    bytes.resize(nRead);
    result.saved = DecodePageState(bytes, result.strError);
    return result;
}
