#include <QCoreApplication>

#include "draw/drawing_lifetime.h"

void AtDrawingExit(void (*release)())
{
    qAddPostRoutine(release);
}
