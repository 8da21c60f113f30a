#pragma once
// The clock page's rules: the new setting proposed from the computer's
// clock, the check of the six values typed, and the printer's clock as the
// page shows it.

#include "app/Records.h"
#include "platform/Time.h"
#include "res/ControlLists.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qm47 {

// The new setting's texts as typed, one per field of res::kClockFields.
using ClockTexts = std::array<std::string, std::size(res::kClockFields)>;

// The new-setting texts proposed from the computer's clock, in the order
// year, month, day, hour, minute, second: two digits each, the year within
// its century; the second is always "00".
ClockTexts ProposedClockTexts(const platform::LocalTime& now);

// The printer's date as "2003/7/2": a year byte below the century pivot
// (50) is a year of the 2000s, any other one of the 1900s; no leading zeros.
std::string PrinterDateText(const ClockTime& clock);

// The printer's time as "9:05:00": the minute with two digits, the hour
// without a leading zero; the printer's second is not shown.
std::string PrinterTimeText(const ClockTime& clock);

// A new-setting value that cannot be sent: which of the six it is (its place
// in res::kClockFields) and the range it must lie in.
struct InvalidClockValue {
    std::size_t field;
    int lowest;
    int highest;
    bool operator==(const InvalidClockValue&) const = default;
};

// The six texts read as LBSETCK's values, or the first of them, in the order
// year, month, day, hour, minute, second, that is not a whole number (blanks
// around it and leading zeros allowed) within its field's range
// (res::kClockFields): year 0-99, month 1-12, day 1 to the month's last day
// in the year the two digits stand for (as the printer's date shows it),
// hour 0-23, minute and second 0-59. One reading serves the check and the
// request, so the values sent are the values checked.
struct ClockSetting {
    std::array<std::uint8_t, 6> values{}; // all six, when none is invalid
    std::optional<InvalidClockValue> invalid;
};
ClockSetting ReadClockSetting(const ClockTexts& texts);

} // namespace qm47
