#pragma once
// The NIP a fiscalization writes into the printer's fiscal memory for good:
// its rule, and the check and the question before it is sent.

#include <string_view>

namespace fw {
class CDialog;
}

namespace qm47 {

enum class NipCheck {
    Valid,
    NotTenDigits,    // not ten digits with single dashes or blanks between them
    WrongCheckDigit, // the tenth digit is not the check digit of the first nine
};

// Ten digits, with single dashes or blanks allowed between two digits and
// nowhere else; then the first nine digits times 6, 5, 7, 2, 3, 4, 5, 6, 7,
// summed, modulo 11, must equal the tenth (a remainder of 10 never does).
NipCheck CheckNip(std::string_view nip);

// Before anything is sent or the port touched: refuses a NIP that breaks the
// rule (exclamation box owned by `page`; its NIP edit gets the keyboard with
// the text selected) and asks whether a valid one is to be written (No the
// default). True only when the technician answered Yes.
bool ConfirmFiscalization(const fw::CDialog& page, std::string_view nip);

} // namespace qm47
