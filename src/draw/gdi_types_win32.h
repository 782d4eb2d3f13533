#pragma once

// On Windows the drawing types are the platform's own: the drawing code speaks GDI's
// vocabulary on every platform, and here GDI itself is underneath.
#include <windows.h>
