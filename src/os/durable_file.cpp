#include "durable_file.h"

#include <random>
#include <sstream>

std::string DurableFile::TemporaryPath(const std::string& path, TemporaryName name)
{
    if (name == TemporaryName::Fixed) return path + ".tmp";
    std::ostringstream tmpPath;
    tmpPath << path << ".tmp-" << std::hex << std::random_device{}();
    return tmpPath.str();
}

bool WriteFileDurably(const std::string& path, std::span<const std::uint8_t> bytes, std::string& strError)
{
    DurableFile file;
    if (!file.Open(path, TemporaryName::Unique, strError)) return false;
    if (!file.Write(bytes)) {
        strError = file.Error();
        return false;
    }
    return file.Commit(strError);
}
