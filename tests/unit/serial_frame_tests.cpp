// The check sum and the fiscalization frame, byte by byte, and how the link
// puts bytes on a line that refuses some of them.

#include "serial/FiscalizationFrame.h"
#include "serial/SerialLink.h"
#include "serial/Transmission.h"

#include <gtest/gtest.h>

#include <string>

using qm47::CSerialLink;
using qm47::FiscalizationFrame;

// A named text and the check sum that goes with it.
struct CheckSumCase {
    const char* name;
    std::string text;
    const char* checkSum;
};

TEST(SerialCheckSum, TwoLowercaseHexDigitsOfFfXorEveryByte)
{
    const CheckSumCase cases[] = {
        {"empty text", "", "ff"},
        {"one byte 0xF5 needs a leading zero", "\xF5", "0a"},
        {"abc", "abc", "9f"},
        // Longer than an 8-bit position reaches: the last byte still counts.
        {"300 bytes", std::string(299, 'a') + 'b', "fc"},
    };
    for (const CheckSumCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CSerialLink::CheckSum(c.text), c.checkSum);
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
    const CheckSumCase cases[] = { // the NIP, and the frame's check sum
        {"NIP with dashes, the longest", "123-456-78-90", "28"},
        {"ten digits, check sum below 0x10", "1234567890", "05"},
        {"blanks, letters and a Polish letter in Windows-1250", "PL 12 ab\xB3", "ab"},
    };
    for (const CheckSumCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string frame = FiscalizationFrame(c.text);
        const std::string expected =
            std::string("\x1B" "P" "1" "$f" "NIP ") + c.text + "\xFF" + c.checkSum + "\x1B" "\\";
        EXPECT_EQ(frame, expected);
        EXPECT_EQ(frame.size(), 14 + c.text.size());
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

TEST(SerialLinkSend, ARefusedByteIsOfferedAgainUntilTakenForAtMostTwoSecondsFromTheFirstByte)
{
    const std::string bytes = FiscalizationFrame("123-456-78-90") + '\0'; // 28 bytes
    // Whether the port refuses an offer, by its number (from 0) and the
    // milliseconds since the first.
    using Refuses = bool (*)(unsigned offer, std::uint32_t elapsed);
    struct Case {
        const char* name;
        Refuses refuses;
        std::size_t taken;        // bytes the port took, from the first
        bool whole;               // the zero byte after the frame included
        std::size_t refusedBytes; // bytes refused at least once
        std::string last;         // the last of them
        std::uint32_t took;       // milliseconds the transmission lasted
        std::uint32_t clockStart = 0;
    };
    const auto forEver = [](unsigned, std::uint32_t) { return true; };
    const Case cases[] = {
        {"refuses every other offer, as while the previous byte is going out",
         [](unsigned offer, std::uint32_t) { return offer % 2 == 0; }, 28, true, 28, "byte 27: refused 1, taken after 1 ms", 28},
        {"held with XOFF for 1.5 s", [](unsigned, std::uint32_t elapsed) { return elapsed < 1500; }, 28, true, 1,
         "byte 0: refused 1500, taken after 1500 ms", 1500},
        {"held for ever", forEver, 0, false, 1, "byte 0: refused 2001, given up after 2000 ms", 2000},
        {"held for ever while the millisecond count wraps around", forEver, 0, false, 1,
         "byte 0: refused 2001, given up after 2000 ms", 2000, 0xFFFFFC00u},
        {"every other offer, then held for ever: the limit runs from the first byte",
         [](unsigned offer, std::uint32_t) { return offer >= 40 || offer % 2 == 0; }, 20, false, 21,
         "byte 20: refused 1981, given up after 1980 ms", 2000},
        // The zero byte after the frame: the frame's last byte has left the PC
        // only once the port has taken the byte after it.
        {"the zero byte taken at the limit", [](unsigned offer, std::uint32_t elapsed) { return offer >= 27 && elapsed < 2000; },
         28, true, 1, "byte 27: refused 2000, taken after 2000 ms", 2000},
        {"the zero byte still refused at the limit", [](unsigned offer, std::uint32_t elapsed) { return offer >= 27 && elapsed <= 2000; },
         27, false, 1, "byte 27: refused 2001, given up after 2000 ms", 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        struct {
            std::uint32_t now;
            std::uint32_t Milliseconds() const { return now; }
            void Wait(unsigned milliseconds) { now += milliseconds; }
        } clock{c.clockStart};
        unsigned offers = 0;
        std::string line; // what the port took, in order
        const auto transmit = [&](unsigned char byte) {
            if (c.refuses(offers++, clock.now - c.clockStart)) return platform::PortResult::Failed(87);
            line += static_cast<char>(byte);
            return platform::PortResult{};
        };
        const qm47::SendResult result = qm47::TransmitEveryByte(bytes, transmit, clock);
        EXPECT_EQ(line, bytes.substr(0, c.taken)) << "a byte taken is never sent again";
        EXPECT_EQ(result.bytesTaken, c.taken);
        EXPECT_EQ(result.whole, c.whole);
        ASSERT_EQ(result.refusedBytes.size(), c.refusedBytes);
        const qm47::RefusedByte& last = result.refusedBytes.back();
        EXPECT_EQ("byte " + std::to_string(last.position) + ": refused " + std::to_string(last.refusals) + ", "
                      + (last.taken ? "taken" : "given up") + " after " + std::to_string(last.milliseconds) + " ms",
                  c.last);
        EXPECT_EQ(last.systemError, 87u);
        EXPECT_EQ(clock.now - c.clockStart, c.took);
    }
}
