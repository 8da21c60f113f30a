// The check sum and the fiscalization frame, byte by byte.

#include "serial/FiscalizationFrame.h"
#include "serial/SerialLink.h"

#include <gtest/gtest.h>

#include <string>

using qm47::CSerialLink;
using qm47::FiscalizationFrame;

TEST(SerialCheckSum, TwoLowercaseHexDigitsOfFfXorEveryByte)
{
    struct Case { const char* name; std::string text; const char* expected; };
    const Case cases[] = {
        {"empty text", "", "ff"},
        {"one byte 0xF5 needs a leading zero", "\xF5", "0a"},
        {"abc", "abc", "9f"},
        // Longer than an 8-bit position reaches: the last byte still counts.
        {"300 bytes", std::string(299, 'a') + 'b', "fc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CSerialLink::CheckSum(c.text), c.expected);
    }
}

TEST(SerialFiscalizationFrame, EmptyNipGivesTheFourteenByteFrame)
{
    const std::string frame = FiscalizationFrame("");
    EXPECT_EQ(frame, std::string("\x1B" "P" "1" "$f" "NIP " "\xFF" "04" "\x1B" "\\"));
    EXPECT_EQ(frame.size(), 14u);
}

TEST(SerialFiscalizationFrame, NipTravelsAsTypedWithItsCheckSum)
{
    struct Case { const char* name; std::string nip; const char* checkSum; };
    const Case cases[] = {
        {"NIP with dashes, the longest", "123-456-78-90", "28"},
        {"ten digits, check sum below 0x10", "1234567890", "05"},
        {"blanks, letters and a Polish letter in Windows-1250", "PL 12 ab\xB3", "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string frame = FiscalizationFrame(c.nip);
        const std::string expected =
            std::string("\x1B" "P" "1" "$f" "NIP ") + c.nip + "\xFF" + c.checkSum + "\x1B" "\\";
        EXPECT_EQ(frame, expected);
        EXPECT_EQ(frame.size(), 14 + c.nip.size());
    }
    EXPECT_EQ(FiscalizationFrame("123-456-78-90").size(), 27u);
}

TEST(SerialLinkQueue, ReceiveQueueFollowsTheDriverLimitUpTo1024)
{
    struct Case { std::uint32_t driverLimit; std::uint32_t expected; };
    const Case cases[] = {{0, 1024}, {1, 1}, {512, 512}, {1024, 1024}, {1025, 1024}, {4096, 1024}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "driver limit " << c.driverLimit);
        EXPECT_EQ(CSerialLink::ReceiveQueueSize(c.driverLimit), c.expected);
    }
}
