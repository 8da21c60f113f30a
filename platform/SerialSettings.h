#pragma once
// A serial port's configuration in plain portable records. Each platform's
// port code maps them onto its own API: the Windows DCB, COMMTIMEOUTS and
// COMMPROP records, or termios.

#include <cstdint>

namespace platform {

// The values are the Windows codes, so that the Windows port can pass them on.
enum class Parity : std::uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits : std::uint8_t { One = 0, OnePointFive = 1, Two = 2 };
// How a modem control line (DTR or RTS) is driven while the port is open.
enum class LineControl : std::uint8_t { Off = 0, On = 1, Handshake = 2 };

// Speed, framing and flow control. The defaults are all "nothing": zero,
// false, off; the user of the port sets every value it relies on.
struct SerialSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 0; // data bits
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool binary = false;           // raw transfer, no end-of-file handling
    bool checkParity = false;      // check received parity
    bool outputHeldByCts = false;  // transmit only while CTS is on
    bool outputHeldByDsr = false;  // transmit only while DSR is on
    LineControl dtr = LineControl::Off;
    bool inputGatedByDsr = false;  // ignore received bytes while DSR is off
    bool transmitWhileInputHeld = false; // go on sending after XOFF was sent for the input
    bool outputXonXoff = false;    // the other side's XOFF stops transmission, XON resumes it
    bool inputXonXoff = false;     // send XOFF/XON when the input queue fills/empties
    bool replaceParityErrors = false;
    bool discardNulls = false;     // drop received zero bytes
    LineControl rts = LineControl::Off;
    bool abortOnError = false;
    std::uint16_t xonLimit = 0;
    std::uint16_t xoffLimit = 0;
    std::uint8_t xonChar = 0;
    std::uint8_t xoffChar = 0;
};

// Read and write time-outs in milliseconds; 0 means none.
struct SerialTimeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

// What the port's driver reports about itself: its receive-queue limit.
struct SerialDeviceProperties {
    std::uint32_t maxReceiveQueue = 0; // bytes; 0 when the driver sets no limit
};

} // namespace platform
