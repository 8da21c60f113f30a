// The clock page's texts from any computer time and any printer clock
// record. What holds:
// - the proposed new setting is six texts of two digits: year within its
//   century, month, day, hour, minute, each the value modulo 100, and "00";
// - the printer's date is year/month/day without leading zeros, the year
//   2000 plus a byte up to 49 and 1900 plus any other;
// - the printer's time is hour:minute:00, the hour without leading zeros,
//   the minute with at least two digits; the printer's second never shows.

#include "FuzzCheck.h"

#include "pages/ClockRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

bool IsTwoDigits(const std::string& text, int value)
{
    const int expected = static_cast<int>(((static_cast<long long>(value) % 100) + 100) % 100);
    return text.size() == 2 && text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9' &&
           (text[0] - '0') * 10 + (text[1] - '0') == expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);

    platform::LocalTime now{};
    now.year = input.ConsumeIntegral<int>();
    now.month = input.ConsumeIntegral<int>();
    now.day = input.ConsumeIntegral<int>();
    now.hour = input.ConsumeIntegral<int>();
    now.minute = input.ConsumeIntegral<int>();
    now.second = input.ConsumeIntegral<int>();
    const auto proposed = qm47::ProposedClockTexts(now);
    FUZZ_CHECK(IsTwoDigits(proposed[0], now.year));
    FUZZ_CHECK(IsTwoDigits(proposed[1], now.month));
    FUZZ_CHECK(IsTwoDigits(proposed[2], now.day));
    FUZZ_CHECK(IsTwoDigits(proposed[3], now.hour));
    FUZZ_CHECK(IsTwoDigits(proposed[4], now.minute));
    FUZZ_CHECK(proposed[5] == "00");

    qm47::ClockTime clock{};
    clock.year = input.ConsumeIntegral<std::uint8_t>();
    clock.month = input.ConsumeIntegral<std::uint8_t>();
    clock.day = input.ConsumeIntegral<std::uint8_t>();
    clock.hour = input.ConsumeIntegral<std::uint8_t>();
    clock.minute = input.ConsumeIntegral<std::uint8_t>();
    clock.second = input.ConsumeIntegral<std::uint8_t>();

    const auto date = fuzz::Split(qm47::PrinterDateText(clock), '/');
    FUZZ_CHECK(date.size() == 3);
    for (const auto& part : date) FUZZ_CHECK(fuzz::IsPlainDecimal(part));
    FUZZ_CHECK(std::stoi(date[0]) == (clock.year <= 49 ? 2000 : 1900) + clock.year);
    FUZZ_CHECK(std::stoi(date[1]) == clock.month);
    FUZZ_CHECK(std::stoi(date[2]) == clock.day);

    const auto time = fuzz::Split(qm47::PrinterTimeText(clock), ':');
    FUZZ_CHECK(time.size() == 3);
    FUZZ_CHECK(fuzz::IsPlainDecimal(time[0]) && std::stoi(time[0]) == clock.hour);
    const std::string& minute = time[1];
    FUZZ_CHECK(minute.size() >= 2);
    FUZZ_CHECK(fuzz::IsPlainDecimal(minute.size() == 2 && minute[0] == '0' ? minute.substr(1) : minute));
    FUZZ_CHECK(std::stoi(minute) == clock.minute);
    FUZZ_CHECK(time[2] == "00");
    return 0;
}
