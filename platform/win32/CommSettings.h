#pragma once
// The link's portable port records as the Windows comm API takes them.
// constexpr, so that the exact records can be checked while compiling.

#include "serial/SerialSettings.h"

#include <windows.h>

namespace platform::win32 {

static_assert(sizeof(DCB) == 28, "DCB must be the 28-byte Windows record");
static_assert(NOPARITY == 0 && ODDPARITY == 1 && EVENPARITY == 2 && MARKPARITY == 3 && SPACEPARITY == 4);
static_assert(ONESTOPBIT == 0 && ONE5STOPBITS == 1 && TWOSTOPBITS == 2);

constexpr DWORD DtrControl(qm47::LineControl line)
{
    switch (line) {
    case qm47::LineControl::On: return DTR_CONTROL_ENABLE;
    case qm47::LineControl::Handshake: return DTR_CONTROL_HANDSHAKE;
    case qm47::LineControl::Off: break;
    }
    return DTR_CONTROL_DISABLE;
}

constexpr DWORD RtsControl(qm47::LineControl line)
{
    switch (line) {
    case qm47::LineControl::On: return RTS_CONTROL_ENABLE;
    case qm47::LineControl::Handshake: return RTS_CONTROL_HANDSHAKE;
    case qm47::LineControl::Off: break;
    }
    return RTS_CONTROL_DISABLE;
}

// Every field the link states is set explicitly; all others stay 0.
constexpr DCB ToDcb(const qm47::SerialSettings& settings)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = static_cast<BYTE>(settings.parity);
    dcb.StopBits = static_cast<BYTE>(settings.stopBits);
    dcb.fBinary = settings.binary;
    dcb.fParity = settings.checkParity;
    dcb.fOutxCtsFlow = settings.outputHeldByCts;
    dcb.fOutxDsrFlow = settings.outputHeldByDsr;
    dcb.fDtrControl = DtrControl(settings.dtr);
    dcb.fDsrSensitivity = settings.inputGatedByDsr;
    dcb.fTXContinueOnXoff = settings.transmitWhileInputHeld;
    dcb.fOutX = settings.outputXonXoff;
    dcb.fInX = settings.inputXonXoff;
    dcb.fErrorChar = settings.replaceParityErrors;
    dcb.fNull = settings.discardNulls;
    dcb.fRtsControl = RtsControl(settings.rts);
    dcb.fAbortOnError = settings.abortOnError;
    dcb.XonLim = settings.xonLimit;
    dcb.XoffLim = settings.xoffLimit;
    dcb.XonChar = static_cast<char>(settings.xonChar);
    dcb.XoffChar = static_cast<char>(settings.xoffChar);
    return dcb;
}

constexpr COMMTIMEOUTS ToCommTimeouts(const qm47::SerialTimeouts& timeouts)
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
