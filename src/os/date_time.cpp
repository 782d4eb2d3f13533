#include "date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "local_time.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given civil date (proleptic Gregorian), after H. Hinnant.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// A compile-time constant: a DateTime built by another file's static initialiser must
// not find it still zero.
constexpr std::int64_t kEpochDay = DaysFromCivil(1899, 12, 30);
static_assert(kEpochDay == -25569);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int64_t TotalSeconds(double days)
{
    return std::llround(days * static_cast<double>(kSecondsPerDay));
}

DateTime FromTotalSeconds(std::int64_t s)
{
    return DateTime(static_cast<double>(s) / static_cast<double>(kSecondsPerDay));
}

}  // namespace

DateTime DateTime::FromLocal(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDay;
    return FromTotalSeconds(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
}

DateTime DateTime::FromSystemTime(std::chrono::system_clock::time_point tp)
{
    const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(tp));
    return FromLocal(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec);
}

DateTime::Fields DateTime::GetFields() const
{
    const std::int64_t total = TotalSeconds(m_dDays);
    const std::int64_t days = FloorDiv(total, kSecondsPerDay);
    const std::int64_t rest = total - days * kSecondsPerDay;
    Fields f{};
    CivilFromDays(days + kEpochDay, f.year, f.month, f.day);
    f.hour = static_cast<int>(rest / 3600);
    f.minute = static_cast<int>(rest / 60 % 60);
    f.second = static_cast<int>(rest % 60);
    return f;
}

std::string DateTime::Text() const
{
    const Fields f = GetFields();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d/%d %d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second);
    return buf;
}

DateTime DateTime::AddSeconds(std::int64_t seconds) const
{
    return FromTotalSeconds(TotalSeconds(m_dDays) + seconds);
}

std::int64_t SecondsBetween(DateTime from, DateTime to)
{
    return std::llround((to.Days() - from.Days()) * static_cast<double>(kSecondsPerDay));
}
