#pragma once
#include <ctime>

// The calendar fields of a moment in the user's time zone (the TZ variable first, where
// the C library reads one).
std::tm LocalTime(std::time_t t);
