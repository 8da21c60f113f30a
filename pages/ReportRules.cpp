#include "pages/ReportRules.h"

namespace qm47 {

std::optional<std::uint8_t> TwoDigitYear(int fullYear)
{
    // Below the pivot in the register's century, or from the pivot on in the
    // one before (compared before subtracting: any int may come here).
    if (fullYear >= kFirstRegisterYear && fullYear < kFirstRegisterYear + kCenturyPivot)
        return static_cast<std::uint8_t>(fullYear - kFirstRegisterYear);
    if (fullYear >= kFirstRegisterYear - 100 + kCenturyPivot && fullYear < kFirstRegisterYear)
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
