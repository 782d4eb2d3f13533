#include "time_zone.h"

#include <cstdlib>
#include <ctime>

void PutTimeZone(const char* tz)
{
    // An empty value removes the variable.
    _putenv_s("TZ", tz != nullptr ? tz : "");
    _tzset();
}
