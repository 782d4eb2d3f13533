#include "clock.h"

#include <atomic>

namespace {

// The frozen value is kept as whole seconds so that moving it never drifts.
std::atomic<bool> g_bFixed{false};
std::atomic<std::int64_t> g_nFixedSeconds{0};

}  // namespace

namespace Clock {

DateTime Now()
{
    if (g_bFixed.load(std::memory_order_acquire)) {
        return DateTime().AddSeconds(g_nFixedSeconds.load(std::memory_order_acquire));
    }
    return DateTime::FromSystemTime(std::chrono::system_clock::now());
}

void Set(DateTime t)
{
    g_nFixedSeconds.store(SecondsBetween(DateTime(), t), std::memory_order_release);
    g_bFixed.store(true, std::memory_order_release);
}

void Advance(std::int64_t seconds)
{
    g_nFixedSeconds.fetch_add(seconds, std::memory_order_acq_rel);
}

void UseSystemTime()
{
    g_bFixed.store(false, std::memory_order_release);
}

}  // namespace Clock
