#pragma once
// The reports page's rules: which days a report request can carry, and in
// what form.

#include "app/Requests.h"
#include "framework/Window.h"

#include <cstdint>
#include <optional>

namespace qm47 {

// The two-digit year the report requests carry: 1950..1999 give 50..99 and
// 2000..2049 give 0..49. Other years have no two-digit form (the date
// pickers do not offer them).
std::optional<std::uint8_t> TwoDigitYear(int fullYear);

// The days a two-digit year can stand for: what the date pickers offer.
inline constexpr fw::Date kFirstReportDate{kFirstRegisterYear - 100 + kCenturyPivot, 1, 1};
inline constexpr fw::Date kLastReportDate{kFirstRegisterYear + kCenturyPivot - 1, 12, 31};

// A picked date as a report request carries it; nothing for a date without
// a two-digit year.
std::optional<ReportDay> ToReportDay(const fw::Date& date);

} // namespace qm47
