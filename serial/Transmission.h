#pragma once
// Puts bytes on the line one at a time through a port that may refuse a
// byte: Windows refuses TransmitCommChar while the previous byte has not yet
// gone out, and a printer holding the line with XOFF makes the port refuse
// until it lets go. A refused byte is offered again after about one
// character time, until the port takes it or the time limit, counted from
// the first byte, has passed; a byte the port took is never offered again.

#include "platform/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm47 {

// About one character time at 9600 baud (ten bits on the line: 1.04 ms).
inline constexpr unsigned kRetryAfterMs = 1;
// A printer that holds the line for less than this delays the bytes, no more.
inline constexpr std::uint32_t kGiveUpAfterMs = 2000;

// A byte the port refused at least once.
struct RefusedByte {
    std::size_t position = 0;       // of the byte in what was sent
    unsigned refusals = 0;          // offers the port refused
    std::uint32_t milliseconds = 0; // from its first offer until the port took it, or until given up
    bool taken = false;             // false: given up at the time limit
    std::uint32_t systemError = 0;  // of the last refused offer
};

// What a transmission came to.
struct SendResult {
    std::size_t bytesTaken = 0;            // from the first byte on, in order
    std::vector<RefusedByte> refusedBytes; // in order; a byte given up is the last
    bool whole = false;                    // every byte offered was taken, the last one included
};

// Offers every byte in order to `transmit` (unsigned char -> platform::PortResult);
// stops at a byte still refused at the limit. `clock` keeps the time:
// Milliseconds(), a count that only goes forward (it may wrap around), and
// Wait(milliseconds).
template <class Transmit, class Clock>
SendResult TransmitEveryByte(std::string_view bytes, Transmit&& transmit, Clock& clock)
{
    SendResult result;
    const std::uint32_t start = clock.Milliseconds();
    for (const char character : bytes) {
        const auto byte = static_cast<unsigned char>(character);
        RefusedByte refused{.position = result.bytesTaken};
        const std::uint32_t firstOffer = clock.Milliseconds();
        platform::PortResult offer;
        while (!(offer = transmit(byte))) {
            ++refused.refusals;
            refused.systemError = offer.systemError;
            // Unsigned differences stay right when the count wraps around.
            if (clock.Milliseconds() - start >= kGiveUpAfterMs) break;
            clock.Wait(kRetryAfterMs);
        }
        if (refused.refusals != 0) {
            refused.taken = offer.done;
            refused.milliseconds = clock.Milliseconds() - firstOffer;
            result.refusedBytes.push_back(refused);
            if (!refused.taken) break;
        }
        ++result.bytesTaken;
    }
    result.whole = result.bytesTaken == bytes.size();
    return result;
}

} // namespace qm47
