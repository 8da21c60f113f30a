#pragma once
// The computer's local date and time, and plain waits of the calling thread.

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
void SleepMilliseconds(unsigned milliseconds);

} // namespace platform
