#include "shot_file_name.h"

namespace {

// Letters, digits, dots and dashes pass; anything else, ':' and '\' and spaces among
// them, would be refused by Windows or read as a folder, and becomes '_'.
std::string SafeForFileName(const std::string& text)
{
    std::string safe = text;
    for (char& c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '-';
        if (!plain) {
            c = '_';
        }
    }
    return safe;
}

std::string HostLabel(const SendTarget& target, const std::vector<SendTarget>& targets)
{
    bool shared = false;
    for (const SendTarget& other : targets) {
        shared = shared || (&other != &target && other.host == target.host);
    }
    const bool withPort = shared || target.port != kStandardPort;
    return SafeForFileName(withPort ? target.host + "_" + std::to_string(target.port) : target.host);
}

// The file with "-label" before its extension; a name that starts with its only dot has
// no extension.
std::string WithLabel(const std::string& file, const std::string& label)
{
    const std::size_t nameStart = file.find_last_of("/\\") == std::string::npos ? 0 : file.find_last_of("/\\") + 1;
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) {
        return file + "-" + label;
    }
    return file.substr(0, dot) + "-" + label + file.substr(dot);
}

}  // namespace

std::vector<std::string> ShotFileNames(const std::string& file, const std::vector<SendTarget>& targets)
{
    std::vector<std::string> names;
    for (const SendTarget& target : targets) {
        if (file.empty()) {
            names.push_back(WithLabel("pavlune.png", HostLabel(target, targets)));
        } else if (targets.size() == 1) {
            names.push_back(file);
        } else {
            names.push_back(WithLabel(file, HostLabel(target, targets)));
        }
    }
    return names;
}
