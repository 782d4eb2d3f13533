#pragma once
#include "options/options.h"

// Qt's own options, read by the option table only to hand them on to Qt, so that nothing
// else is taken for one of them. They are spelled with one dash, as Qt documents them.
const HandOnOptions& QtHandOnOptions();

// What --help says of Qt's options and of the display server.
PlatformHelp QtHelp();
