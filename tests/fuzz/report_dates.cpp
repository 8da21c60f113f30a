// The reports page's two-digit year of any full year, and the monthly
// report's bytes from any typed year and month. What holds:
// - a year has a two-digit form exactly when it lies in 1950..2049; the form
//   is below 100 and names the year again (50..99 the 1900s, 0..49 the 2000s);
// - the typed year and month reach the record as the low 8 bits of their
//   decimal value (the usual rule, clamped to 32 bits).

#include "FuzzCheck.h"

#include "app/NumberText.h"
#include "pages/ReportRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);

    const int fullYear = input.ConsumeIntegral<int>();
    const auto twoDigits = qm47::TwoDigitYear(fullYear);
    FUZZ_CHECK(twoDigits.has_value() == (fullYear >= 1950 && fullYear <= 2049));
    if (twoDigits) {
        FUZZ_CHECK(*twoDigits < 100);
        FUZZ_CHECK((*twoDigits >= 50 ? 1900 : 2000) + *twoDigits == fullYear);
    }

    for (int field = 0; field < 2; ++field) {
        const std::string typed = input.ConsumeRandomLengthString(16);
        const std::uint8_t byte = qm47::LowByte(qm47::ParseDecimal(typed));
        FUZZ_CHECK(byte == static_cast<std::uint8_t>(static_cast<std::uint32_t>(fuzz::StrtolClamped(typed)) % 256));
    }
    return 0;
}
