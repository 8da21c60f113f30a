#include "pages/ClockRules.h"

#include <algorithm>
#include <string_view>

namespace qm47 {

namespace {

// The full year of a year byte: below the pivot in the register's century,
// any other in the century before.
int FullYear(int yearInCentury)
{
    return yearInCentury < kCenturyPivot ? kFirstRegisterYear + yearInCentury
                                         : kFirstRegisterYear - 100 + yearInCentury;
}

int DaysInMonth(int fullYear, int month)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = fullYear % 4 == 0 && (fullYear % 100 != 0 || fullYear % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A whole number with blanks around it; nothing for any other text (a sign
// included). Values past any range are capped, not wrapped.
std::optional<int> WholeNumber(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = std::min(value * 10 + (c - '0'), 1000);
    }
    return value;
}

std::string TwoDigits(int value)
{
    const int n = value % 100 < 0 ? value % 100 + 100 : value % 100;
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

} // namespace

ClockTexts ProposedClockTexts(const platform::LocalTime& now)
{
    return {TwoDigits(now.year), TwoDigits(now.month), TwoDigits(now.day),
            TwoDigits(now.hour), TwoDigits(now.minute), "00"};
}

ClockSetting ReadClockSetting(const ClockTexts& texts)
{
    ClockSetting setting;
    for (std::size_t field = 0; field < texts.size(); ++field) {
        const int lowest = res::kClockFields[field].lowest;
        int highest = res::kClockFields[field].highest;
        // The year and the month come first: the day's range is known by then.
        if (highest == res::kLastDayOfMonth) highest = DaysInMonth(FullYear(setting.values[0]), setting.values[1]);
        const std::optional<int> value = WholeNumber(texts[field]);
        if (!value || *value < lowest || *value > highest) {
            setting.invalid = InvalidClockValue{field, lowest, highest};
            return setting;
        }
        // In range: it fits its byte.
        setting.values[field] = static_cast<std::uint8_t>(*value);
    }
    return setting;
}

std::string PrinterDateText(const ClockTime& clock)
{
    return std::to_string(FullYear(clock.year)) + '/' + std::to_string(clock.month) + '/' + std::to_string(clock.day);
}

std::string PrinterTimeText(const ClockTime& clock)
{
    std::string minute = std::to_string(clock.minute);
    if (clock.minute <= 9) minute.insert(0, 1, '0');
    return std::to_string(clock.hour) + ':' + minute + ":00";
}

} // namespace qm47
