// The serial port through termios. Each operation gives the nearest termios
// effect of its Windows comm API counterpart; where termios has none, the
// comment says so.

#include "platform/SerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

bool SpeedCode(std::uint32_t baudRate, speed_t& code)
{
    struct Speed { std::uint32_t rate; speed_t code; };
    constexpr Speed kSpeeds[] = {
        {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
    };
    for (const Speed& speed : kSpeeds) {
        if (speed.rate == baudRate) {
            code = speed.code;
            return true;
        }
    }
    return false;
}

bool SizeCode(std::uint8_t byteSize, tcflag_t& code)
{
    switch (byteSize) {
    case 5: code = CS5; return true;
    case 6: code = CS6; return true;
    case 7: code = CS7; return true;
    case 8: code = CS8; return true;
    default: return false;
    }
}

PortResult Errno()
{
    return PortResult::Failed(static_cast<std::uint32_t>(errno));
}

// What the port cannot do, or a port that is not open.
constexpr PortResult kNotSupported = PortResult::Failed(EINVAL);
constexpr PortResult kNotOpen = PortResult::Failed(EBADF);

// Drives one modem control line. A device without modem lines (a pseudo
// terminal, for one) has nothing to drive, which is not a failure.
PortResult DriveLine(int fd, int line, bool on)
{
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || errno == ENOTTY || errno == EINVAL) return {};
    return Errno();
}

} // namespace

PortResult SerialPort::OpenExclusive(const char* name)
{
    Close();
    // Not blocking, so that a port without carrier does not hold the open,
    // and a byte the line cannot take now (held with XOFF) is refused at
    // once, as Windows refuses a byte it cannot send yet.
    const int fd = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Errno();

    // No sharing: a port that another program holds locked is refused, and
    // this one is locked while open. TIOCEXCL also keeps further opens out
    // (except privileged ones); a non-terminal rejects it, and the settings
    // step then fails as it does on Windows.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const PortResult locked = Errno();
        close(fd); // not Close(): the exclusive mode is the holder's
        return locked;
    }
    ioctl(fd, TIOCEXCL);
    m_handle = fd;
    return {};
}

PortResult SerialPort::ApplySettings(const SerialSettings& settings)
{
    if (!IsOpen()) return kNotOpen;
    const int fd = static_cast<int>(m_handle);

    // Settings with no termios counterpart cannot be honoured: refuse them
    // rather than leave the port doing something else. (DSR output flow
    // control, DSR input gating, DTR handshaking, discarding received zeros,
    // replacing bytes with parity errors and aborting on errors.) Binary mode
    // is the only mode, as on Windows. Mark and space parity and 1.5 stop
    // bits are not offered.
    if (settings.outputHeldByDsr || settings.inputGatedByDsr || settings.dtr == LineControl::Handshake
        || settings.discardNulls || settings.replaceParityErrors || settings.abortOnError || !settings.binary
        || settings.parity == Parity::Mark || settings.parity == Parity::Space
        || settings.stopBits == StopBits::OnePointFive)
        return kNotSupported;

    speed_t speed = 0;
    tcflag_t size = 0;
    if (!SpeedCode(settings.baudRate, speed) || !SizeCode(settings.byteSize, size)) return kNotSupported;

    // Built from zero like the Windows record; only the line discipline and
    // the control characters are kept from what the driver has.
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return Errno();
    cfmakeraw(&tio); // raw: no input or output processing, no line editing or signals
    tio.c_iflag = 0;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag = CREAD | CLOCAL | size; // receiver on; modem status lines ignored

    if (settings.parity != Parity::None) tio.c_cflag |= PARENB;
    if (settings.parity == Parity::Odd) tio.c_cflag |= PARODD;
    if (settings.checkParity) tio.c_iflag |= INPCK;
    if (settings.stopBits == StopBits::Two) tio.c_cflag |= CSTOPB;
    // termios has one switch for RTS/CTS handshaking in both directions.
    if (settings.outputHeldByCts || settings.rts == LineControl::Handshake) tio.c_cflag |= CRTSCTS;
    if (settings.outputXonXoff) tio.c_iflag |= IXON; // only XON resumes (no IXANY)
    if (settings.inputXonXoff) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = settings.xonChar;
    tio.c_cc[VSTOP] = settings.xoffChar;
    // No counterpart: the XON/XOFF thresholds (the kernel keeps its own) and
    // going on transmitting after an XOFF was sent for the input (termios
    // always does).

    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 || tcsetattr(fd, TCSANOW, &tio) != 0)
        return Errno();

    // tcsetattr succeeds when any part was taken: check the parts that matter.
    termios applied{};
    if (tcgetattr(fd, &applied) != 0) return Errno();
    constexpr tcflag_t kControl = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS;
    constexpr tcflag_t kInput = IXON | IXOFF | INPCK;
    if ((applied.c_cflag & kControl) != (tio.c_cflag & kControl) || (applied.c_iflag & kInput) != (tio.c_iflag & kInput)
        || cfgetospeed(&applied) != speed || cfgetispeed(&applied) != speed)
        return kNotSupported;

    if (settings.dtr != LineControl::Handshake) {
        if (const PortResult driven = DriveLine(fd, TIOCM_DTR, settings.dtr == LineControl::On); !driven) return driven;
    }
    if (settings.rts != LineControl::Handshake) return DriveLine(fd, TIOCM_RTS, settings.rts == LineControl::On);
    return {};
}

PortResult SerialPort::ApplyTimeouts(const SerialTimeouts& timeouts)
{
    // The port does not block (see OpenExclusive): a read returns at once
    // with what has arrived, within any read time-out, and a write never
    // waits, so only "no write time-out" can be honoured. Nothing to set.
    if (!IsOpen()) return kNotOpen;
    if (timeouts.writeTotalMultiplier != 0 || timeouts.writeTotalConstant != 0) return kNotSupported;
    return {};
}

PortResult SerialPort::SetReceiveEventMask()
{
    // No termios counterpart: a POSIX program waits for input with poll(),
    // which needs no mask.
    return IsOpen() ? PortResult{} : kNotOpen;
}

PortResult SerialPort::PurgeBothDirections()
{
    // There are no pending transfers to abort: writes here complete before
    // they return. Dropping both queues is the whole effect.
    if (!IsOpen()) return kNotOpen;
    return tcflush(static_cast<int>(m_handle), TCIOFLUSH) == 0 ? PortResult{} : Errno();
}

PortResult SerialPort::ReadProperties(SerialDeviceProperties& properties)
{
    // termios reports no queue limits: the driver sets no maximum.
    if (!IsOpen()) return kNotOpen;
    properties = {};
    return {};
}

PortResult SerialPort::SetQueueSizes(std::uint32_t, std::uint32_t)
{
    // No termios counterpart: the kernel sizes a terminal's buffers itself.
    return IsOpen() ? PortResult{} : kNotOpen;
}

PortResult SerialPort::TransmitImmediate(unsigned char byte)
{
    // termios cannot put a byte ahead of output already queued; the byte
    // joins the queue instead. The link queues nothing else (the queues were
    // purged when the port was opened and every byte comes through here one
    // at a time), so the line carries the same bytes in the same order.
    // A line held with XOFF refuses the byte (EAGAIN), a device gone too (EIO).
    if (!IsOpen()) return kNotOpen;
    ssize_t written = 0;
    do written = write(static_cast<int>(m_handle), &byte, 1);
    while (written < 0 && errno == EINTR);
    if (written == 1) return {};
    return written < 0 ? Errno() : PortResult::Failed(EAGAIN);
}

void SerialPort::Close()
{
    if (!IsOpen()) return;
    const int fd = static_cast<int>(std::exchange(m_handle, kNoHandle));
    // The exclusive mode stays on the terminal after the last close of a
    // pseudo terminal; clear it so that the port can be opened again.
    ioctl(fd, TIOCNXCL);
    close(fd); // also drops the lock
}

} // namespace platform
