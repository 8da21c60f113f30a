#include "pages/NipRules.h"

namespace qm47 {

namespace {
constexpr int kDigits = 10;
constexpr int kWeights[kDigits - 1] = {6, 5, 7, 2, 3, 4, 5, 6, 7};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

NipCheck CheckNip(std::string_view nip)
{
    int digits[kDigits] = {};
    int count = 0;
    for (std::size_t at = 0; at < nip.size(); ++at) {
        const char c = nip[at];
        if (IsDigit(c)) {
            if (count == kDigits) return NipCheck::NotTenDigits;
            digits[count++] = c - '0';
            continue;
        }
        // A separator stands between two digits.
        const bool between = at > 0 && IsDigit(nip[at - 1]) && at + 1 < nip.size() && IsDigit(nip[at + 1]);
        if ((c != '-' && c != ' ') || !between) return NipCheck::NotTenDigits;
    }
    if (count != kDigits) return NipCheck::NotTenDigits;
    int sum = 0;
    for (int i = 0; i < kDigits - 1; ++i) sum += digits[i] * kWeights[i];
    return sum % 11 == digits[kDigits - 1] ? NipCheck::Valid : NipCheck::WrongCheckDigit;
}

} // namespace qm47
