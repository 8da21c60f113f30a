#pragma once
// The computer's local date and time, a millisecond count for measuring
// waits, and plain waits of the calling thread.

#include <cstdint>

namespace platform {

struct LocalTime {
    int year;   // full year
    int month;  // 1..12
    int day;    // 1..31
    int hour;   // 0..23
    int minute; // 0..59
    int second; // 0..59
};

LocalTime Now();
// Milliseconds since some fixed moment; only goes forward, and wraps around
// after 2^32 (about 49 days): take differences as unsigned.
std::uint32_t MonotonicMilliseconds();
void SleepMilliseconds(unsigned milliseconds);

} // namespace platform
