#include "user_dirs.h"

#include <cstdlib>

namespace {

std::string UnderVariable(const char* variable)
{
    const char* base = std::getenv(variable);
    return base != nullptr && *base != '\0' ? std::string(base) + "\\Pavlune" : std::string();
}

}  // namespace

std::string ConfigDirectory()
{
    return UnderVariable("APPDATA");
}

std::string StateDirectory()
{
    return UnderVariable("LOCALAPPDATA");
}
