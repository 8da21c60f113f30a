// The serial port through the Windows comm API.

#include "platform/SerialPort.h"

#include "platform/win32/CommSettings.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

namespace {

HANDLE Native(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool IsDigits(std::string_view text)
{
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// CreateFileA finds COM1 to COM9 by their bare names, but COM10 and above
// only in the device namespace, as "\\.\COM10". Names of that form get the
// prefix; every other name, COM1 to COM9 included, is passed as given.
std::string DevicePath(const char* name)
{
    const std::string_view text(name);
    const auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); };
    const bool comName = text.size() >= 5 && lower(text[0]) == 'c' && lower(text[1]) == 'o' && lower(text[2]) == 'm'
        && text[3] != '0' && IsDigits(text.substr(3));
    return comName ? std::string("\\\\.\\").append(text) : std::string(text);
}

} // namespace

SerialPort SerialPort::OpenExclusive(const char* name)
{
    const HANDLE handle = CreateFileA(DevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    return SerialPort(reinterpret_cast<std::intptr_t>(handle));
}

bool SerialPort::ApplySettings(const SerialSettings& settings)
{
    if (!IsOpen()) return false;
    DCB dcb = win32::ToDcb(settings);
    return SetCommState(Native(m_handle), &dcb) != FALSE;
}

bool SerialPort::ApplyTimeouts(const SerialTimeouts& timeouts)
{
    if (!IsOpen()) return false;
    COMMTIMEOUTS commTimeouts = win32::ToCommTimeouts(timeouts);
    return SetCommTimeouts(Native(m_handle), &commTimeouts) != FALSE;
}

bool SerialPort::SetReceiveEventMask()
{
    return IsOpen() && SetCommMask(Native(m_handle), EV_RXCHAR) != FALSE;
}

bool SerialPort::PurgeBothDirections()
{
    return IsOpen() && PurgeComm(Native(m_handle), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR) != FALSE;
}

bool SerialPort::ReadProperties(SerialDeviceProperties& properties)
{
    if (!IsOpen()) return false;
    COMMPROP commProp{};
    if (!GetCommProperties(Native(m_handle), &commProp)) return false;
    properties.maxReceiveQueue = commProp.dwMaxRxQueue;
    return true;
}

bool SerialPort::SetQueueSizes(std::uint32_t receiveQueue, std::uint32_t transmitQueue)
{
    return IsOpen() && SetupComm(Native(m_handle), receiveQueue, transmitQueue) != FALSE;
}

bool SerialPort::TransmitImmediate(unsigned char byte)
{
    return IsOpen() && TransmitCommChar(Native(m_handle), static_cast<char>(byte)) != FALSE;
}

void SerialPort::Close()
{
    if (!IsOpen()) return;
    CloseHandle(Native(std::exchange(m_handle, kNoHandle)));
}

} // namespace platform
