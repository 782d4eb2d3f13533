#pragma once
#include <string>

// Where the program keeps what must outlive it, by the platform's own rules; empty when
// the environment does not say.

// The configuration file's folder: $XDG_CONFIG_HOME/pavlune, else ~/.config/pavlune; on
// Windows %APPDATA%\Pavlune.
std::string ConfigDirectory();

// The saved pages' folder: $XDG_STATE_HOME/pavlune, else ~/.local/state/pavlune; on
// Windows %LOCALAPPDATA%\Pavlune.
std::string StateDirectory();
