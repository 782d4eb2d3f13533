#pragma once
#include <filesystem>
#include <random>
#include <string>

#include "os/file_path.h"

// A folder of the test's own under the system's temporary folder, gone with the object.
// The prefix is UTF-8.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix)
    {
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path() / PathFromUtf8(prefix + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~ScratchDir() { std::filesystem::remove_all(m_path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
