#pragma once
#include <chrono>
#include <cstdint>
#include <string>

// Local wall-clock time as days since 30 December 1899, to the whole second.
// Differences between two values are turned into whole seconds by rounding half away
// from zero, so values that went through a double never lose a second.
class DateTime {
public:
    DateTime() = default;
    explicit DateTime(double days) : m_dDays(days) {}

    static DateTime FromLocal(int year, int month, int day, int hour, int minute, int second);
    static DateTime FromSystemTime(std::chrono::system_clock::time_point tp);

    double Days() const { return m_dDays; }
    bool IsZero() const { return m_dDays == 0.0; }

    // Calendar fields of the value, in local wall-clock terms.
    struct Fields { int year, month, day, hour, minute, second; };
    Fields GetFields() const;

    // Date first, then the time of day: "2026/12/9 23:46:02".
    std::string Text() const;

    DateTime AddSeconds(std::int64_t seconds) const;

    friend bool operator==(DateTime a, DateTime b) = default;

private:
    double m_dDays = 0.0;
};

// Whole seconds from `from` to `to`, rounded half away from zero.
std::int64_t SecondsBetween(DateTime from, DateTime to);

// Days from `from` to `to`, for the idle limits that compare day fractions.
inline double DaysBetween(DateTime from, DateTime to) { return to.Days() - from.Days(); }
