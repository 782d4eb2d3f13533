#include "time_zone.h"

#include <cstdlib>
#include <ctime>

void PutTimeZone(const char* tz)
{
    if (tz != nullptr) {
        setenv("TZ", tz, 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}
