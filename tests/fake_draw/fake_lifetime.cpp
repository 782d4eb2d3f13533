#include <cstdlib>

#include "draw/drawing_lifetime.h"

void AtDrawingExit(void (*release)())
{
    std::atexit(release);
}
