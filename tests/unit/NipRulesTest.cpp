// The NIP rule of the fiscalization: ten digits with single dashes or blanks
// between them, and the check digit.

#include "pages/NipRules.h"

#include <gtest/gtest.h>

#include <string>

namespace qm47 {
namespace {

void ExpectCheck(const std::string& nip, NipCheck expected)
{
    static constexpr const char* kNames[] = {"valid", "not ten digits", "wrong check digit"};
    EXPECT_STREQ(kNames[static_cast<int>(CheckNip(nip))], kNames[static_cast<int>(expected)]) << "NIP \"" << nip << '"';
}

TEST(NipRulesTest, TenDigitsWithSingleDashesOrBlanksBetweenDigits)
{
    const std::string digits = "5260001246"; // 5*6+2*5+6*7+0+0+0+1*5+2*6+4*7 = 127, 127 mod 11 = 6
    for (const char* nip : {"526-000-12-46", "526 000 12 46", "5260001246", "526-000 12-46"})
        ExpectCheck(nip, NipCheck::Valid);
    // A dash or a blank after every digit but the last passes; before the
    // first or after the last it does not (it would be written into the fiscal memory).
    for (const char separator : {'-', ' '}) {
        for (std::size_t at = 0; at <= digits.size(); ++at) {
            std::string nip = digits;
            nip.insert(at, 1, separator);
            ExpectCheck(nip, at == 0 || at == digits.size() ? NipCheck::NotTenDigits : NipCheck::Valid);
        }
    }
    for (const char* nip : {"", "ab \xB3Z", "526-000-12-4", "-526000124-6", " 5260001246", "5260001246 ",
                            "526--000-12-46", "526- 000-12-46", "526  000 12 46", "52600012460", "526000124",
                            "526_000_12_46", "526.000.12.46", "526\t000\t12\t46", "526-000-12-4a", "NIP 5260001246",
                            "-", " "})
        ExpectCheck(nip, NipCheck::NotTenDigits);
    ExpectCheck("526 -000-12-46", NipCheck::NotTenDigits); // doubled separators of both kinds
}

TEST(NipRulesTest, TheTenthDigitIsTheWeightedSumOfTheFirstNineModulo11)
{
    // Every other tenth digit is refused.
    for (char last = '0'; last <= '9'; ++last)
        ExpectCheck(std::string("526-000-12-4") + last, last == '6' ? NipCheck::Valid : NipCheck::WrongCheckDigit);
    // The first nine give a remainder of 10 (1*6+2*5+...+9*7 = 230): no tenth digit matches.
    for (char last = '0'; last <= '9'; ++last) ExpectCheck(std::string("123456789") + last, NipCheck::WrongCheckDigit);
    // Each weight in its place: a 1 in place i alone needs the weight as its check digit (below 10).
    const int weights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    for (int place = 0; place < 9; ++place) {
        std::string nip(10, '0');
        nip[static_cast<std::size_t>(place)] = '1';
        nip[9] = static_cast<char>('0' + weights[place]);
        ExpectCheck(nip, NipCheck::Valid);
    }
}

} // namespace
} // namespace qm47
