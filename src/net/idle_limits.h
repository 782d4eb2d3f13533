#pragma once

// How long things may sit still, as fractions of a day (date-time differences are in
// days). Only a difference strictly greater than the limit counts.
namespace IdleLimit {
// A send in flight, and a connection that has sent nothing yet: 2 minutes.
inline constexpr double kShortDays = 1.0 / 720.0;
// A connection that has sent data: 6 hours.
inline constexpr double kAfterDataDays = 0.25;
}  // namespace IdleLimit
