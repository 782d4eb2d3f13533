#include <cstdlib>

#include "draw/drawing_lifetime.h"

// GDI stands until the process ends; objects held for the run go just before.
void AtDrawingExit(void (*release)())
{
    std::atexit(release);
}
