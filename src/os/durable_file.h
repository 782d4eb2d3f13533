#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Files written whole and files read whole, each platform's own way. Names are UTF-8.

// How the temporary file beside the target is named.
enum class TemporaryName {
    // One name for the target: a file left by a write that was cut off (a power cut) is
    // overwritten by the next write, never piled up. Only for a target one writer owns.
    Fixed,
    // A name for this write alone, so that two programs writing one target at once never
    // write into one temporary file.
    Unique,
};

// Who may read the file where the system has file modes. The user's own state stays the
// user's; a picture the user asked for is readable as any file the user makes.
enum class Readers { Owner, Anyone };

// A file written whole under a temporary name beside the target, then flushed to the disk
// and renamed over the target, so a reader (or a restart after a power cut) finds the old
// file or the new one, never half of one. A target that is there but is not a file on a
// disk (a pipe, a device, a folder) is refused: renaming over it would replace it, or
// writing would wait on it. A write that is not committed leaves no temporary file, and
// the old target stays as it was. Every error reads "cannot write TARGET: why".
class DurableFile {
public:
    DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;
    ~DurableFile();

    // Creates the temporary file for `path`; false with the reason.
    bool Open(const std::string& path, TemporaryName name, std::string& strError,
              Readers readers = Readers::Anyone);
    // False when the bytes could not all be written; Error says why.
    bool Write(std::span<const std::uint8_t> bytes);
    const std::string& Error() const { return m_strError; }
    // Flushes and closes the temporary file and renames it over the target, the rename
    // itself flushed with the folder where the platform can. False with the reason.
    bool Commit(std::string& strError);

private:
    static std::string TemporaryPath(const std::string& path, TemporaryName name);
    std::string Failure(const std::string& why) const { return "cannot write " + m_strPath + ": " + why; }

    struct Handle;
    std::unique_ptr<Handle> m_pHandle;  // the open temporary file, until committed
    std::string m_strPath;
    std::string m_strTmpPath;
    std::string m_strError;
};

// The bytes as the whole file at `path`, by a DurableFile with a temporary name of its own.
bool WriteFileDurably(const std::string& path, std::span<const std::uint8_t> bytes, std::string& strError);

struct RegularFile {
    std::vector<std::uint8_t> bytes;
    bool bMissing = false;  // no file there
    std::string strError;   // why a file that is there was not read
};
// A regular file's bytes when it holds at most maxBytes; a pipe, a device or a directory
// in its place is refused without waiting on it.
RegularFile ReadRegularFile(const std::string& path, std::size_t maxBytes);
