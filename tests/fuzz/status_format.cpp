// The status panel's texts from a fiscal status record and a device name
// filled with anything, null text pointers included. What holds:
// - the name is the first part, one blank, the second part (null: empty);
//   the warning goes with a first part of exactly "OrbelaMakron" only;
// - the date is day-month-year in decimal without leading zeros, the year
//   2000 plus the byte;
// - the mode is "Fiskalny" for the byte value 1, "Niefiskalny" for any other;
// - a rate text "100.00" shows "Zwolniona", "101.00" "Nieaktywna", null "0",
//   any other text itself; other texts show themselves, null "0".

#include "FuzzCheck.h"

#include "app/Records.h"
#include "ui/StatusFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

// A text that may be null, as the library may leave a pointer.
struct MaybeText {
    std::optional<std::string> value;
    const char* Pointer() const { return value ? value->c_str() : nullptr; }
    std::string Shown(const char* ifNull) const { return value ? std::string(value->c_str()) : ifNull; }
};

MaybeText TakeText(FuzzedDataProvider& input)
{
    if (input.ConsumeBool()) return {};
    return {input.ConsumeRandomLengthString(24)};
}

void CheckDate(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    const std::string date = qm47::FormatFiscalMemoryDate(day, month, year);
    const auto parts = fuzz::Split(date, '-');
    FUZZ_CHECK(parts.size() == 3);
    for (const auto& part : parts) FUZZ_CHECK(fuzz::IsPlainDecimal(part));
    FUZZ_CHECK(std::stoi(parts[0]) == day);
    FUZZ_CHECK(std::stoi(parts[1]) == month);
    FUZZ_CHECK(parts[2].size() == 4 && std::stoi(parts[2]) == 2000 + year);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);

    qm47::FiscalStatus status{};
    status.fiscalFlag = input.ConsumeIntegral<std::uint8_t>();
    status.lastFmYear = input.ConsumeIntegral<std::uint8_t>();
    status.lastFmMonth = input.ConsumeIntegral<std::uint8_t>();
    status.lastFmDay = input.ConsumeIntegral<std::uint8_t>();
    std::array<MaybeText, 7> rates;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        rates[i] = TakeText(input);
        status.ptuRate[i] = rates[i].Pointer();
    }
    const MaybeText uniqueNumber = TakeText(input);
    status.uniqueNumber = uniqueNumber.Pointer();
    const MaybeText firstPart = TakeText(input);
    const MaybeText secondPart = TakeText(input);

    FUZZ_CHECK(qm47::FormatDeviceName(firstPart.Pointer(), secondPart.Pointer()) ==
               firstPart.Shown("") + " " + secondPart.Shown(""));
    FUZZ_CHECK(qm47::IsWarnedModel(firstPart.Pointer()) ==
               (firstPart.value && std::strcmp(firstPart.value->c_str(), "OrbelaMakron") == 0));

    CheckDate(status.lastFmDay, status.lastFmMonth, status.lastFmYear);

    FUZZ_CHECK(qm47::FormatMode(status.fiscalFlag) == (status.fiscalFlag == 1 ? "Fiskalny" : "Niefiskalny"));

    for (std::size_t i = 0; i < rates.size(); ++i) {
        const std::string rate = rates[i].Shown("0");
        const std::string expected = rate == "100.00" ? "Zwolniona" : rate == "101.00" ? "Nieaktywna" : rate;
        FUZZ_CHECK(qm47::FormatRate(status.ptuRate[i]) == expected);
    }
    FUZZ_CHECK(qm47::FiscalText(status.uniqueNumber) == uniqueNumber.Shown("0"));
    return 0;
}
