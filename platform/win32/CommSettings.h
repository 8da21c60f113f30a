#pragma once
// The portable port records as the Windows comm API takes them.
// constexpr, so that the exact records can be checked while compiling.

#include "platform/SerialSettings.h"

#include <windows.h>

namespace platform::win32 {

static_assert(sizeof(DCB) == 28, "DCB must be the 28-byte Windows record");
// The portable codes are the Windows ones and pass through unchanged.
template <typename Enum>
constexpr DWORD Code(Enum value)
{
    return static_cast<DWORD>(value);
}
static_assert(Code(Parity::None) == NOPARITY && Code(Parity::Odd) == ODDPARITY
              && Code(Parity::Even) == EVENPARITY && Code(Parity::Mark) == MARKPARITY
              && Code(Parity::Space) == SPACEPARITY);
static_assert(Code(StopBits::One) == ONESTOPBIT && Code(StopBits::OnePointFive) == ONE5STOPBITS
              && Code(StopBits::Two) == TWOSTOPBITS);
static_assert(Code(LineControl::Off) == DTR_CONTROL_DISABLE && Code(LineControl::On) == DTR_CONTROL_ENABLE
              && Code(LineControl::Handshake) == DTR_CONTROL_HANDSHAKE);
static_assert(Code(LineControl::Off) == RTS_CONTROL_DISABLE && Code(LineControl::On) == RTS_CONTROL_ENABLE
              && Code(LineControl::Handshake) == RTS_CONTROL_HANDSHAKE);

// Every field the settings state is set explicitly; all others stay 0.
constexpr DCB ToDcb(const SerialSettings& settings)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = static_cast<BYTE>(Code(settings.parity));
    dcb.StopBits = static_cast<BYTE>(Code(settings.stopBits));
    dcb.fBinary = settings.binary;
    dcb.fParity = settings.checkParity;
    dcb.fOutxCtsFlow = settings.outputHeldByCts;
    dcb.fOutxDsrFlow = settings.outputHeldByDsr;
    dcb.fDtrControl = Code(settings.dtr);
    dcb.fDsrSensitivity = settings.inputGatedByDsr;
    dcb.fTXContinueOnXoff = settings.transmitWhileInputHeld;
    dcb.fOutX = settings.outputXonXoff;
    dcb.fInX = settings.inputXonXoff;
    dcb.fErrorChar = settings.replaceParityErrors;
    dcb.fNull = settings.discardNulls;
    dcb.fRtsControl = Code(settings.rts);
    dcb.fAbortOnError = settings.abortOnError;
    dcb.XonLim = settings.xonLimit;
    dcb.XoffLim = settings.xoffLimit;
    dcb.XonChar = static_cast<char>(settings.xonChar);
    dcb.XoffChar = static_cast<char>(settings.xoffChar);
    return dcb;
}

constexpr COMMTIMEOUTS ToCommTimeouts(const SerialTimeouts& timeouts)
{
    COMMTIMEOUTS result{};
    result.ReadIntervalTimeout = timeouts.readInterval;
    result.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    result.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    result.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    result.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    return result;
}

} // namespace platform::win32
