#include "durable_file.h"

#include <windows.h>

#include <algorithm>

#include "os/file_path.h"

namespace {

std::string ErrorText() { return "error " + std::to_string(GetLastError()); }

std::string SystemError(const std::string& what) { return what + ": " + ErrorText(); }

// Closes the handle it was given, once.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : m_h(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    HANDLE Get() const { return m_h; }
    bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        const bool bOk = !IsOpen() || CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return bOk;
    }

private:
    HANDLE m_h;
};

// A file on a disk: not a pipe, not a device (NUL, COM1, CON), not a folder.
bool IsFileOnDisk(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Whether something other than a file on a disk goes by the name. Opened for no access
// at all, so that a device is only looked at, never used.
bool NamesSomethingElse(const std::string& path)
{
    const FileHandle found(CreateFileW(PathFromUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return found.IsOpen() && !IsFileOnDisk(found.Get());
}

}  // namespace

struct DurableFile::Handle {
    explicit Handle(HANDLE h) : file(h) {}
    FileHandle file;
};

DurableFile::DurableFile() = default;

DurableFile::~DurableFile()
{
    if (!m_pHandle) return;
    m_pHandle.reset();
    DeleteFileW(PathFromUtf8(m_strTmpPath).c_str());
}

// The file takes its folder's permissions: under the user's profile, the user's own.
bool DurableFile::Open(const std::string& path, TemporaryName name, std::string& strError, Readers)
{
    m_strPath = path;
    if (NamesSomethingElse(path)) {
        strError = Failure("not a regular file");
        return false;
    }
    const std::string tmpPath = TemporaryPath(path, name);
    // A device's name with any extension may still name the device; a unique name is never
    // one found there.
    auto pHandle = std::make_unique<Handle>(CreateFileW(PathFromUtf8(tmpPath).c_str(), GENERIC_WRITE, 0, nullptr,
                                                        name == TemporaryName::Unique ? CREATE_NEW : CREATE_ALWAYS,
                                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!pHandle->file.IsOpen()) {
        strError = Failure(ErrorText());
        return false;
    }
    if (!IsFileOnDisk(pHandle->file.Get())) {
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
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(m_pHandle->file.Get(), bytes.data(), piece, &written, nullptr) || written == 0) {
            m_strError = Failure(ErrorText());
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

bool DurableFile::Commit(std::string& strError)
{
    // Write-through: the rename is on the disk when the call returns; Windows has no
    // folder to flush.
    if (!FlushFileBuffers(m_pHandle->file.Get()) || !m_pHandle->file.Close() ||
        !MoveFileExW(PathFromUtf8(m_strTmpPath).c_str(), PathFromUtf8(m_strPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        strError = Failure(ErrorText());
        return false;
    }
    m_pHandle.reset();
    return true;
}

RegularFile ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    RegularFile result;
    FileHandle file(CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        result.bMissing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        result.strError = "cannot open it: error " + std::to_string(error);
        return result;
    }
    // Only a file on a disk: a pipe or a device in its place is never waited on.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IsFileOnDisk(file.Get()) || !GetFileInformationByHandle(file.Get(), &info)) {
        result.strError = "not a regular file";
        return result;
    }
    const std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes) {
        result.strError = "larger than a saved page list can be (" + std::to_string(size) + " bytes)";
        return result;
    }
    // Read up to one byte past the size seen, so a file that grew meanwhile is noticed.
    result.bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t nRead = 0;
    while (nRead < result.bytes.size()) {
        DWORD got = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(result.bytes.size() - nRead, 1u << 30));
        if (!ReadFile(file.Get(), result.bytes.data() + nRead, piece, &got, nullptr)) {
            result.strError = SystemError("cannot read it");
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        nRead += got;
    }
    result.bytes.resize(nRead);
    return result;
}
