// The rules of the goods check and the control sale: the rate letter from
// the combo box's text, the whole part of a rate text, the answer fields of
// a goods query and the blocked-name test.

#include "pages/GoodsRules.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

namespace qm47 {
namespace {

const std::string kNeverSold(text::kGoodsNeverSold.view());
const std::string kSoldExempt(text::kGoodsSoldExempt.view());
const std::string kBlocked(text::kGoodsStatusBlocked.view());
const std::string kNotBlocked(text::kGoodsStatusNotBlocked.view());

TEST(GoodsRulesTest, RateLetterOnlyFromExactlyAToG)
{
    for (char letter = 'A'; letter <= 'G'; ++letter) {
        SCOPED_TRACE(letter);
        EXPECT_EQ(RateLetter(std::string(1, letter)), letter);
    }
    for (const char* refused : {"", "a", "g", "H", "@", "AB", "A ", " A", "1", "Z", "\xA5"}) {
        SCOPED_TRACE(std::string("\"") + refused + "\"");
        EXPECT_EQ(RateLetter(refused), std::nullopt);
    }
    EXPECT_EQ(RateLetter(std::string_view("A\0", 2)), std::nullopt) << "a text with a NUL after the letter";
}

TEST(GoodsRulesTest, RateWholePart)
{
    const struct {
        const char* rate;
        std::int32_t whole;
    } cases[] = {
        {"7.00", 7}, {"7.50", 7}, {"22.00", 22}, {"100.00", 100}, {"101.00", 101}, {"0.00", 0},
        {"", 0}, {"abc", 0}, {" 8", 8}, {"99999999999", 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.rate + "\"");
        EXPECT_EQ(RateWholePart(c.rate), c.whole);
    }
}

TEST(GoodsRulesTest, AnswerFields)
{
    const GoodsAnswer before{"old name", "C", "3.00", "old status"};
    const struct {
        const char* label;
        std::uint8_t blocked;
        const char* returned;
        GoodsAnswer expected;
    } cases[] = {
        {"not blocked at 22.00", 0, "22.00", {"Kawa", "A", "22.00", kNotBlocked}},
        {"blocked at 7.00", 1, "7.00", {"Kawa", "A", "7.00", kBlocked}},
        {"never sold, flag 1", 1, "101.00", {"Kawa", "", kNeverSold, ""}},
        {"never sold, flag 0", 0, "101.00", {"Kawa", "", kNeverSold, ""}},
        {"never sold, flag 7", 7, "101.00", {"Kawa", "", kNeverSold, ""}},
        {"exempt, blocked", 1, "100.00", {"Kawa", "A", kSoldExempt, kBlocked}},
        {"exempt, flag 2", 2, "100.00", {"Kawa", "A", kSoldExempt, "old status"}},
        {"other flag keeps name, rate asked and status", 2, "7.00", {"old name", "C", "7.00", "old status"}},
        {"\"100\" is no mark", 0, "100", {"Kawa", "A", "100", kNotBlocked}},
        {"\"101.0\" is no mark", 0, "101.0", {"Kawa", "A", "101.0", kNotBlocked}},
        {"empty rate text", 1, "", {"Kawa", "A", "", kBlocked}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const GoodsAnswer got = AnswerGoodsQuery(before, "Kawa", "A", c.blocked, c.returned);
        EXPECT_EQ(got.name, c.expected.name);
        EXPECT_EQ(got.rateAsked, c.expected.rateAsked);
        EXPECT_EQ(got.printerRate, c.expected.printerRate);
        EXPECT_EQ(got.status, c.expected.status);
    }
}

TEST(GoodsRulesTest, BlockedOnlyAtAnotherWholeRate)
{
    const struct {
        std::uint8_t blocked;
        const char* held;
        const char* letterRate;
        bool refused;
    } cases[] = {
        {1, "7.00", "7.00", false},  {1, "7.00", "22.00", true},  {1, "7.00", "7.50", false},
        {1, "100.00", "22.00", true}, {1, "100.00", "100.00", false}, {1, "0.00", "0", false},
        {1, "22.00", "101.00", true}, {0, "7.00", "22.00", false}, {2, "7.00", "22.00", false},
        {255, "7.00", "22.00", false}, {1, "", "0.00", false},    {1, "x", "5.00", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.blocked) + " " + c.held + " / " + c.letterRate);
        EXPECT_EQ(IsBlockedAtOtherRate(c.blocked, c.held, c.letterRate), c.refused);
    }
}

} // namespace
} // namespace qm47
