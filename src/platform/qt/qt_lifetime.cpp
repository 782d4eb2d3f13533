#include <QCoreApplication>

#include "platform/drawing_lifetime.h"

void AtDrawingExit(void (*release)())
{
    qAddPostRoutine(release);
}
