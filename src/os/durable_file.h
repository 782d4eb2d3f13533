#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The file operations the saved pages need, each platform's own way.

// A file written whole under a temporary name, then flushed to the disk and renamed over
// the target, so a reader (or a restart after a power cut) finds the old file or the new
// one, never half of one. A write that is not committed leaves no temporary file.
class DurableFile {
public:
    DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;
    ~DurableFile();

    // Creates or empties the temporary file; false with the reason.
    bool Open(const std::string& tmpPath, std::string& strError);
    // False when the bytes could not all be written; Error says why.
    bool Write(std::span<const std::uint8_t> bytes);
    const std::string& Error() const { return m_strError; }
    // Flushes and closes the temporary file and renames it to `path` in `dir`, the rename
    // itself flushed with the directory where the platform can. False with the reason.
    bool Commit(const std::string& path, const std::string& dir, std::string& strError);

private:
    struct Handle;
    std::unique_ptr<Handle> m_pHandle;  // the open temporary file, until committed
    std::string m_strTmpPath;
    std::string m_strError;
};

struct RegularFile {
    std::vector<std::uint8_t> bytes;
    bool bMissing = false;  // no file there
    std::string strError;   // why a file that is there was not read
};
// A regular file's bytes when it holds at most maxBytes; a pipe, a device or a directory
// in its place is refused without waiting on it.
RegularFile ReadRegularFile(const std::string& path, std::size_t maxBytes);
