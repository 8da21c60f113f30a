#pragma once
// The program's own access to the serial port, for the one command that
// bypasses the device library: open and configure the port, transmit a text
// byte by byte, close. The link never reads from the port.

#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"
#include "serial/Transmission.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm47 {

// The printer's line speed: the library is given the port at it, and the
// link runs at it.
inline constexpr std::int32_t kPrinterBaudRate = 9600;

// The steps of opening the link that can fail, in order, each named after
// the Windows call it makes (the purge between SetCommMask and
// GetCommProperties cannot: its result does not stop the open).
enum class OpenStep : std::uint8_t {
    CreateFileA,       // POSIX: open, flock
    SetCommState,      // POSIX: tcsetattr, the modem lines
    SetCommTimeouts,
    SetCommMask,
    GetCommProperties,
    SetupComm,
};

// A step's name as the diagnostic log writes it: its Windows call, the file's
// without the letter of its character set.
constexpr const char* OpenStepName(OpenStep step)
{
    switch (step) {
    case OpenStep::CreateFileA: return "CreateFile";
    case OpenStep::SetCommState: return "SetCommState";
    case OpenStep::SetCommTimeouts: return "SetCommTimeouts";
    case OpenStep::SetCommMask: return "SetCommMask";
    case OpenStep::GetCommProperties: return "GetCommProperties";
    case OpenStep::SetupComm: return "SetupComm";
    }
    return "an unknown step";
}

// What opening the link came to.
struct OpenResult {
    bool opened = false;
    OpenStep failedStep{};         // when not opened: the step that failed
    std::uint32_t systemError = 0; // and its error (GetLastError on Windows, errno on POSIX)
};

// What the link's last use came to, kept until the next Open for whoever
// wants to tell it afterwards: how opening ended and, when it opened, each
// byte the port refused.
struct LinkRecord {
    OpenResult open;
    SendResult send;
};

class CSerialLink {
public:
    // 9600 baud, 8 data bits, no parity, one stop bit, raw; transmission obeys
    // XON/XOFF from the printer; no flow control for the input; DTR and RTS off.
    static constexpr platform::SerialSettings kPortSettings{
        .baudRate = kPrinterBaudRate,
        .byteSize = 8,
        .parity = platform::Parity::None,
        .stopBits = platform::StopBits::One,
        .binary = true,
        .dtr = platform::LineControl::Off,
        .outputXonXoff = true,
        .inputXonXoff = false,
        .rts = platform::LineControl::Off,
        .xonChar = 0x11,
        .xoffChar = 0x13,
    };
    static constexpr platform::SerialTimeouts kTimeouts{
        .readInterval = 20,
        .readTotalMultiplier = 20,
        .readTotalConstant = 20,
        .writeTotalMultiplier = 0,
        .writeTotalConstant = 0,
    };
    // Receive queue asked for when the driver's limit allows it.
    static constexpr std::uint32_t kReceiveQueue = 1024;
    // Pause after a transmission, so the printer has the frame before the
    // port changes hands again.
    static constexpr unsigned kPauseAfterSendMs = 100;

    CSerialLink() = default;
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    // Opens the named port and configures it. Holds no port when opening or
    // any configuration step failed; the result says which and why.
    OpenResult Open(const std::string& portName);
    // Transmits every byte of the text and then its terminating zero byte,
    // a refused byte offered again for at most 2 s from the first (see
    // serial/Transmission.h), and waits 100 ms. After a byte still refused
    // at the limit the rest is not sent, since a frame with a hole is no
    // command; with no port open nothing is offered. The wait happens
    // either way.
    [[nodiscard]] SendResult Send(const std::string& text);
    // Closes the port; harmless when none is open.
    void Close();
    const LinkRecord& LastUse() const { return m_lastUse; }

    // Two lowercase hexadecimal digits: 0xFF exclusive-or every byte of the text.
    static std::string CheckSum(std::string_view text);
    // The receive-queue size asked of a driver that allows at most
    // driverLimit bytes (0: no limit).
    static std::uint32_t ReceiveQueueSize(std::uint32_t driverLimit);

private:
    platform::SerialPort m_port;
    LinkRecord m_lastUse;
};

} // namespace qm47
