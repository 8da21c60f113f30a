#pragma once
// Texts of the simulated printer: the code pages it receives turned into
// readable UTF-8 for its printout, and the decimal amounts it keeps in
// hundredths.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// Windows-1250 bytes as UTF-8; a byte the code page leaves undefined is
// written \xHH.
std::string Cp1250ToUtf8(std::string_view bytes);

// One byte of the Mazovia code page as UTF-8: printable ASCII as itself, the
// 18 Polish letters as their letters, anything else \xHH.
std::string MazoviaToUtf8(unsigned char byte);

// A decimal amount with at most two decimals ("22", "7.5", "0.01") in
// hundredths; nullopt for anything else (signs, blanks, commas, a lone dot).
std::optional<std::int64_t> ParseHundredths(std::string_view text);

// Hundredths as a decimal text with two decimals, the whole part padded with
// zeros to at least `wholeDigits` digits: (2200) -> "22.00", (123456, 6) ->
// "001234.56".
std::string FormatHundredths(std::int64_t hundredths, int wholeDigits = 1);

} // namespace sim
