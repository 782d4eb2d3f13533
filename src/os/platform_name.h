#pragma once

// The operating system the program was built for, as the information screen names it.
#if defined(_WIN32)
inline constexpr const char16_t* kPlatformName = u"Windows";
#else
inline constexpr const char16_t* kPlatformName = u"Linux";
#endif
