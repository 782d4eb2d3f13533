#include "user_dirs.h"

#include <cstdlib>

namespace {

// The base directory a variable names, or the default under the home folder. A relative
// value is not to be used, by the base-directory rules.
std::string BaseDirectory(const char* variable, const char* underHome)
{
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') return std::string(base) + "/pavlune";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home) + "/" + underHome + "/pavlune";
    return {};
}

}  // namespace

std::string ConfigDirectory()
{
    return BaseDirectory("XDG_CONFIG_HOME", ".config");
}

std::string StateDirectory()
{
    return BaseDirectory("XDG_STATE_HOME", ".local/state");
}
