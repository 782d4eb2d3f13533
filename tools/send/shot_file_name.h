#pragma once
#include <string>
#include <vector>

#include "send_args.h"

// The file each display's screen picture is written to, in the order of the targets.
// Without a file named, pavlune-HOST.png; with one display, the file as named (or "-");
// with several, the file with -HOST before its extension. HOST is the host made safe
// for a file name on Windows as on Linux, with _PORT after it when the port is not the
// standard one or another target has the same host.
std::vector<std::string> ShotFileNames(const std::string& file, const std::vector<SendTarget>& targets);
