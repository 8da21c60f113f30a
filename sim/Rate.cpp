#include "sim/Rate.h"

#include "sim/Text.h"

namespace sim {

namespace {

constexpr std::int64_t kExemptMark = 10000;   // 100.00
constexpr std::int64_t kInactiveMark = 10100; // 101.00

} // namespace

std::optional<Rate> ParseRate(std::string_view text)
{
    const auto hundredths = ParseHundredths(text);
    if (!hundredths) return std::nullopt;
    if (*hundredths < kExemptMark) return Rate{Rate::Kind::Percent, *hundredths};
    if (*hundredths == kExemptMark) return Rate{Rate::Kind::Exempt, 0};
    if (*hundredths == kInactiveMark) return Rate{Rate::Kind::Inactive, 0};
    return std::nullopt;
}

std::string RateText(const Rate& rate)
{
    switch (rate.kind) {
    case Rate::Kind::Exempt: return FormatHundredths(kExemptMark);
    case Rate::Kind::Inactive: return FormatHundredths(kInactiveMark);
    case Rate::Kind::Percent: break;
    }
    return FormatHundredths(rate.hundredths);
}

std::optional<std::size_t> RateIndex(unsigned char letter)
{
    const std::size_t index = kRateLetters.find(static_cast<char>(letter));
    if (letter == 0 || index == std::string_view::npos) return std::nullopt;
    return index;
}

} // namespace sim
