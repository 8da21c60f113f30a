#include "pages/ReportRules.h"

namespace qm47 {

std::optional<std::uint8_t> TwoDigitYear(int fullYear)
{
    // Up to 49 years into the register's century, or in the second half of
    // the one before (compared before subtracting: any int may come here).
    if (fullYear >= kFirstRegisterYear && fullYear <= kFirstRegisterYear + 49)
        return static_cast<std::uint8_t>(fullYear - kFirstRegisterYear);
    if (fullYear >= kFirstRegisterYear - 50 && fullYear < kFirstRegisterYear)
        return static_cast<std::uint8_t>(fullYear - (kFirstRegisterYear - 100));
    return std::nullopt;
}

std::optional<ReportDay> ToReportDay(const fw::Date& date)
{
    const auto year = TwoDigitYear(date.year);
    if (!year) return std::nullopt;
    return ReportDay{*year, static_cast<std::uint8_t>(date.month), static_cast<std::uint8_t>(date.day)};
}

} // namespace qm47
