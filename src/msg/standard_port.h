#pragma once

// The TCP port the scoring program is set up to reach a display on.
inline constexpr int kStandardPort = 9977;
