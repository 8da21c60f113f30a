#pragma once
// The rules the goods database check and the control sale share: the rate
// letter chosen in their combo box, the goods query's answer as the check
// page shows it, and the blocked-name test of the control sale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm47 {

// The letter 'A' to 'G' of a rate text that is exactly "A" to "G" (case
// counts); nothing for any other text.
std::optional<char> RateLetter(std::string_view rateText);

// The whole part of a rate text by the usual rule for decimal text: "7.50"
// gives 7, "100.00" gives 100, a text without leading digits 0.
std::int32_t RateWholePart(std::string_view rateText);

// What the goods check page shows of an answer.
struct GoodsAnswer {
    std::string name;
    std::string rateAsked;   // the rate text of the combo box
    std::string printerRate; // the rate the printer holds, or what it means
    std::string status;      // blocked or not

    bool operator==(const GoodsAnswer&) const = default;
};

// The answer fields after the printer answered `returnedRate` and the
// `blocked` flag for `name` asked at `rateAsked`; `shown` is what the fields
// showed before (a flag other than 0 and 1 leaves name, rate asked and
// status as they were).
GoodsAnswer AnswerGoodsQuery(const GoodsAnswer& shown, std::string_view name, std::string_view rateAsked,
                             std::uint8_t blocked, std::string_view returnedRate);

// Whether the control sale refuses a name: it is blocked (flag 1) at a rate
// whose whole part differs from that of the chosen letter's current rate.
bool IsBlockedAtOtherRate(std::uint8_t blocked, std::string_view returnedRate, std::string_view letterRate);

} // namespace qm47
