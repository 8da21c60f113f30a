#pragma once
// Civil dates and times of the simulated printer's clock, counted in seconds
// so that an offset can be kept against the computer's clock.

#include <cstdint>

namespace sim {

struct DateTime {
    int year; // full year
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// Days of `month` in `year`; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// Whether the date exists and the time lies within 00:00:00..23:59:59.
bool IsValid(const DateTime& time);

// Seconds since 1970-01-01 00:00:00 of the same calendar (no time zone).
std::int64_t ToSeconds(const DateTime& time);
DateTime FromSeconds(std::int64_t seconds);

// A two-digit year as the printer reads it: 0..49 is 2000..2049, 50..99 is
// 1950..1999.
int FullYear(int twoDigitYear);

} // namespace sim
