// The goods check's rules on any texts and any flag. What holds:
// - a rate text gives a letter exactly when it is one of "A" to "G", and
//   then that letter;
// - the whole part of a rate text is its decimal value by the usual rule;
// - the answer fields: "101.00" shows the name, "nie był sprzedawany" and
//   nothing else; otherwise the printer rate is "był sprzedawany w stawce
//   zwolnionej" for "100.00" and the text itself for any other, and the flag
//   1 or 0 shows the name, the rate asked and the blocked or not-blocked
//   status, while any other flag leaves the status as it was;
// - the control sale refuses a name only when it is blocked (flag 1) at a
//   rate whose whole part differs from that of the chosen letter's rate.

#include "FuzzCheck.h"

#include "framework/Cp1250.h"
#include "pages/GoodsRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

using fw::literals::operator""_cp1250;

constexpr auto kNeverSold = "nie był sprzedawany"_cp1250;
constexpr auto kSoldExempt = "był sprzedawany w stawce zwolnionej"_cp1250;
constexpr auto kBlocked = "towar jest zablokowany"_cp1250;
constexpr auto kNotBlocked = "towar nie jest zablokowany"_cp1250;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string rateAsked = input.ConsumeRandomLengthString(8);
    const std::string name = input.ConsumeRandomLengthString(48);
    const std::string returnedRate = input.ConsumeRandomLengthString(12);
    const std::string letterRate = input.ConsumeRandomLengthString(12);
    const std::uint8_t blocked = input.ConsumeIntegral<std::uint8_t>();
    qm47::GoodsAnswer shown;
    shown.name = input.ConsumeRandomLengthString(16);
    shown.rateAsked = input.ConsumeRandomLengthString(4);
    shown.printerRate = input.ConsumeRandomLengthString(16);
    shown.status = input.ConsumeRandomLengthString(16);

    const auto letter = qm47::RateLetter(rateAsked);
    const bool isLetter = rateAsked.size() == 1 && rateAsked[0] >= 'A' && rateAsked[0] <= 'G';
    FUZZ_CHECK(letter.has_value() == isLetter);
    if (letter) FUZZ_CHECK(*letter == rateAsked[0]);

    FUZZ_CHECK(qm47::RateWholePart(returnedRate) == fuzz::StrtolClamped(returnedRate));

    const qm47::GoodsAnswer answer = qm47::AnswerGoodsQuery(shown, name, rateAsked, blocked, returnedRate);
    if (returnedRate == "101.00") {
        FUZZ_CHECK(answer.name == name);
        FUZZ_CHECK(answer.rateAsked.empty());
        FUZZ_CHECK(answer.printerRate == kNeverSold.view());
        FUZZ_CHECK(answer.status.empty());
    } else {
        FUZZ_CHECK(answer.printerRate == (returnedRate == "100.00" ? std::string(kSoldExempt.view()) : returnedRate));
        if (blocked == 0 || blocked == 1) {
            FUZZ_CHECK(answer.name == name);
            FUZZ_CHECK(answer.rateAsked == rateAsked);
            FUZZ_CHECK(answer.status == (blocked == 1 ? kBlocked.view() : kNotBlocked.view()));
        } else {
            FUZZ_CHECK(answer.status == shown.status);
            // The exempt answer may already have shown the name and the rate
            // asked; either way the two come from the same answer.
            const bool kept = answer.name == shown.name && answer.rateAsked == shown.rateAsked;
            const bool taken = answer.name == name && answer.rateAsked == rateAsked;
            FUZZ_CHECK(kept || (returnedRate == "100.00" && taken));
        }
    }

    const bool refused = blocked == 1 && fuzz::StrtolClamped(returnedRate) != fuzz::StrtolClamped(letterRate);
    FUZZ_CHECK(qm47::IsBlockedAtOtherRate(blocked, returnedRate, letterRate) == refused);
    return 0;
}
