#pragma once

// Sets the TZ variable (nullptr removes it) and has the C library read it again.
void PutTimeZone(const char* tz);
