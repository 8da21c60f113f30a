#pragma once
// The NIP a fiscalization writes into the printer's fiscal memory for good:
// its rule, and the edit's limit.

#include <string_view>

namespace qm47 {

// The characters the NIP's edit takes: a ten-digit NIP with its three dashes.
inline constexpr int kNipLimit = 13;

enum class NipCheck {
    Valid,
    NotTenDigits,    // not ten digits with single dashes or blanks between them
    WrongCheckDigit, // the tenth digit is not the check digit of the first nine
};

// Ten digits, with single dashes or blanks allowed between two digits and
// nowhere else; then the first nine digits times 6, 5, 7, 2, 3, 4, 5, 6, 7,
// summed, modulo 11, must equal the tenth (a remainder of 10 never does).
NipCheck CheckNip(std::string_view nip);

} // namespace qm47
