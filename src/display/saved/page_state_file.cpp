#include "page_state_file.h"

#include <filesystem>
#include <vector>

#include "os/durable_file.h"
#include "os/file_path.h"

namespace {

// Output in pieces of about this size, so that a large list is written in few calls.
constexpr std::size_t kWriteChunk = 1 << 20;

bool WriteBuffered(DurableFile& file, const SavedPages& saved)
{
    std::vector<std::uint8_t> buffer;
    buffer.reserve(kWriteChunk);
    const bool bEncoded = EncodePageState(saved, [&](std::span<const std::uint8_t> piece) {
        if (buffer.size() + piece.size() > kWriteChunk) {
            if (!file.Write(buffer)) return false;
            buffer.clear();
        }
        if (piece.size() >= kWriteChunk) return file.Write(piece);
        buffer.insert(buffer.end(), piece.begin(), piece.end());
        return true;
    });
    return bEncoded && file.Write(buffer);
}

}  // namespace

bool WritePageStateFile(const std::string& strDir, const SavedPages& saved, std::string& strError)
{
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(strDir), ec);
    if (ec) {
        strError = "cannot make " + strDir + ": " + ec.message();
        return false;
    }
    // The display alone writes its list, so one temporary name serves: a file left by a
    // write that was cut off is overwritten by the next, never piled up.
    DurableFile file;
    if (!file.Open(strDir + "/" + kPageStateFileName, TemporaryName::Fixed, strError, Readers::Owner)) return false;
    if (!WriteBuffered(file, saved)) {
        strError = file.Error();
        return false;
    }
    return file.Commit(strError);
}

ReadState ReadPageStateFile(const std::string& strPath)
{
    ReadState result;
    RegularFile file = ReadRegularFile(strPath, kMaxPageStateBytes);
    result.bMissing = file.bMissing;
    if (!file.strError.empty()) {
        result.strError = file.strError;
        return result;
    }
    result.saved = DecodePageState(file.bytes, result.strError);
    return result;
}
