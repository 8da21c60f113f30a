#pragma once
// The tax rates A..G as the simulated printer keeps them, and the rate texts
// it accepts and reports.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

inline constexpr std::string_view kRateLetters = "ABCDEFG";

// A tax rate as the printer keeps it.
struct Rate {
    enum class Kind { Percent, Exempt, Inactive };
    Kind kind = Kind::Inactive;
    std::int64_t hundredths = 0; // the percentage, for Kind::Percent

    friend bool operator==(const Rate&, const Rate&) = default;
};

// The rates A..G at load: 22.00, 7.00, 0.00, three inactive, exempt.
inline constexpr std::array<Rate, 7> kRatesAtLoad{{{Rate::Kind::Percent, 2200},
                                                   {Rate::Kind::Percent, 700},
                                                   {Rate::Kind::Percent, 0},
                                                   {Rate::Kind::Inactive, 0},
                                                   {Rate::Kind::Inactive, 0},
                                                   {Rate::Kind::Inactive, 0},
                                                   {Rate::Kind::Exempt, 0}}};

// A rate text as the printer accepts it: a percentage from 0 to 99.99 with at
// most two decimals, 100 (exempt) or 101 (inactive), with or without
// decimals ("22", "7.5", "100.00"). Nothing else, not even blanks.
std::optional<Rate> ParseRate(std::string_view text);
// "22.00", "100.00" for exempt, "101.00" for inactive.
std::string RateText(const Rate& rate);

// The rate letter 'A'..'G' as an index 0..6, or nullopt.
std::optional<std::size_t> RateIndex(unsigned char letter);

} // namespace sim
