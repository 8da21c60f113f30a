// The usual rule for decimal text, and the one-byte cut of a number.

#include "app/NumberText.h"

#include <gtest/gtest.h>

#include <string>

namespace qm47 {
namespace {

TEST(NumberTextTest, ParsesLeadingDecimalNumber)
{
    const struct {
        std::string text;
        std::int32_t expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+", 0},
        {" ", 0},
        {"7", 7},
        {"007", 7},
        {"7x", 7},
        {"22.5", 22},
        {" 7", 7},
        {"\t\n\v\f\r 12", 12},
        {"+15", 15},
        {"-1", -1},
        {"- 1", 0},        // the sign must be followed by the digits
        {"1 2", 1},
        {"2003", 2003},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},           // clamped, never wrapped
        {"4294967318", 2147483647},           // would wrap to 22
        {"-99999999999999999999999", -2147483647 - 1},
        {"99999999999999999999999999999999999999", 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(ParseDecimal(c.text), c.expected);
    }
}

TEST(NumberTextTest, LowByteKeepsLowEightBits)
{
    const struct {
        std::int32_t value;
        int expected;
    } cases[] = {{0, 0}, {255, 255}, {256, 0}, {2003, 211}, {-1, 255}, {-256, 0}, {2147483647, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(LowByte(c.value), c.expected);
    }
}

} // namespace
} // namespace qm47
