// Sends one fiscalization frame through the serial link, as the
// fiscalization page does, for the serial link test under Wine:
//
//     serial_link_probe.exe <port> <nip>
//
// Prints "opened" or "not opened", the milliseconds Send took, "sent" or
// "not sent" (whether every byte went out), and when the port did not open
// the step that failed (its number in OpenStep) and the system's error code;
// exits 0 when the port opened, 1 when it did not, 2 on a wrong command line.
//
// Built for both Windows targets, so the port records the link hands to the
// comm API are also checked here while compiling.

#include "platform/win32/CommSettings.h"
#include "serial/FiscalizationFrame.h"
#include "serial/SerialLink.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using platform::win32::ToCommTimeouts;
using platform::win32::ToDcb;
using qm47::CSerialLink;

constexpr DCB kDcb = ToDcb(CSerialLink::kPortSettings);
static_assert(kDcb.DCBlength == 28);
// 9600 8N1, binary, no parity checking or replacing, no NUL dropping.
static_assert(kDcb.BaudRate == 9600 && kDcb.ByteSize == 8 && kDcb.Parity == NOPARITY && kDcb.StopBits == ONESTOPBIT);
static_assert(kDcb.fBinary == 1 && kDcb.fParity == 0 && kDcb.fErrorChar == 0 && kDcb.fNull == 0);
// No handshake lines: DTR and RTS off, CTS and DSR not watched.
static_assert(kDcb.fDtrControl == DTR_CONTROL_DISABLE && kDcb.fRtsControl == RTS_CONTROL_DISABLE);
static_assert(kDcb.fOutxCtsFlow == 0 && kDcb.fOutxDsrFlow == 0 && kDcb.fDsrSensitivity == 0);
// XON/XOFF holds what is sent only; an error does not abort.
static_assert(kDcb.fOutX == 1 && kDcb.fInX == 0 && kDcb.fTXContinueOnXoff == 0 && kDcb.fAbortOnError == 0);
static_assert(kDcb.fDummy2 == 0 && kDcb.wReserved == 0 && kDcb.wReserved1 == 0);
static_assert(kDcb.XonLim == 0 && kDcb.XoffLim == 0);
static_assert(kDcb.XonChar == 0x11 && kDcb.XoffChar == 0x13);
static_assert(kDcb.ErrorChar == 0 && kDcb.EofChar == 0 && kDcb.EvtChar == 0);

constexpr COMMTIMEOUTS kTimeouts = ToCommTimeouts(CSerialLink::kTimeouts);
static_assert(kTimeouts.ReadIntervalTimeout == 20);
static_assert(kTimeouts.ReadTotalTimeoutMultiplier == 20);
static_assert(kTimeouts.ReadTotalTimeoutConstant == 20);
static_assert(kTimeouts.WriteTotalTimeoutMultiplier == 0);
static_assert(kTimeouts.WriteTotalTimeoutConstant == 0);

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: serial_link_probe <port> <nip>\n");
        return 2;
    }
    CSerialLink link;
    const qm47::OpenResult opened = link.Open(argv[1]);
    const std::string frame = qm47::FiscalizationFrame(argv[2]);
    const auto start = std::chrono::steady_clock::now();
    const qm47::SendResult sent = link.Send(frame);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    link.Close();
    std::printf("%s\nsend took %lld ms\n%s\n", opened.opened ? "opened" : "not opened",
                static_cast<long long>(took.count()), sent.bytesTaken == frame.size() + 1 ? "sent" : "not sent");
    if (!opened.opened)
        std::printf("failed step %d, system error %lu\n", static_cast<int>(opened.failedStep),
                    static_cast<unsigned long>(opened.systemError));
    return opened.opened ? 0 : 1;
}
