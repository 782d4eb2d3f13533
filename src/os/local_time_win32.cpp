#include "local_time.h"

std::tm LocalTime(std::time_t t)
{
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}
