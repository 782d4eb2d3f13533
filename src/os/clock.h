#pragma once
#include "date_time.h"

// The one source of "now" for the whole system. Tests fix it and move it; the running
// program reads the local wall clock. Safe to read and set from any thread.
namespace Clock {

DateTime Now();

// Freezes "now" at the given value until UseSystemTime is called.
void Set(DateTime t);
// Moves a frozen clock on (or back, with a negative count).
void Advance(std::int64_t seconds);
void UseSystemTime();

}  // namespace Clock
