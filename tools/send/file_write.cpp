#include "file_write.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "os/file_path.h"

namespace {

// The temporary file goes away unless it became the file.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path) : m_path(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!m_kept) {
            std::error_code ignored;
            std::filesystem::remove(m_path, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    void Keep() { m_kept = true; }

private:
    std::filesystem::path m_path;
    bool m_kept = false;
};

// Two senders writing the same file at once must not share a temporary one.
std::string TemporarySuffix()
{
    std::ostringstream suffix;
    suffix << ".part-" << std::hex << std::random_device{}();
    return suffix.str();
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error)
{
    const std::filesystem::path file = PathFromUtf8(path);
    TemporaryFile temporary(PathFromUtf8(path + TemporarySuffix()));
    {
        std::ofstream out(temporary.Path(), std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write " + path + ": " + std::error_code(errno, std::generic_category()).message();
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + path + ": " + std::error_code(errno, std::generic_category()).message();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary.Path(), file, ec);
    if (ec) {
        error = "cannot write " + path + ": " + ec.message();
        return false;
    }
    temporary.Keep();
    return true;
}
