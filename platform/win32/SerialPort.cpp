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

// The result of a comm API call, read at once: its error code is the thread's
// last error.
PortResult Checked(BOOL succeeded)
{
    return succeeded ? PortResult{} : PortResult::Failed(GetLastError());
}

constexpr PortResult kNotOpen = PortResult::Failed(ERROR_INVALID_HANDLE);

} // namespace

PortResult SerialPort::OpenExclusive(const char* name)
{
    Close();
    const std::string path = DevicePath(name);
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return PortResult::Failed(GetLastError());
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    return {};
}

PortResult SerialPort::ApplySettings(const SerialSettings& settings)
{
    if (!IsOpen()) return kNotOpen;
    DCB dcb = win32::ToDcb(settings);
    return Checked(SetCommState(Native(m_handle), &dcb));
}

PortResult SerialPort::ApplyTimeouts(const SerialTimeouts& timeouts)
{
    if (!IsOpen()) return kNotOpen;
    COMMTIMEOUTS commTimeouts = win32::ToCommTimeouts(timeouts);
    return Checked(SetCommTimeouts(Native(m_handle), &commTimeouts));
}

PortResult SerialPort::SetReceiveEventMask()
{
    return IsOpen() ? Checked(SetCommMask(Native(m_handle), EV_RXCHAR)) : kNotOpen;
}

PortResult SerialPort::PurgeBothDirections()
{
    return IsOpen() ? Checked(PurgeComm(Native(m_handle), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
                    : kNotOpen;
}

PortResult SerialPort::ReadProperties(SerialDeviceProperties& properties)
{
    if (!IsOpen()) return kNotOpen;
    COMMPROP commProp{};
    const PortResult read = Checked(GetCommProperties(Native(m_handle), &commProp));
    if (read) properties.maxReceiveQueue = commProp.dwMaxRxQueue;
    return read;
}

PortResult SerialPort::SetQueueSizes(std::uint32_t receiveQueue, std::uint32_t transmitQueue)
{
    return IsOpen() ? Checked(SetupComm(Native(m_handle), receiveQueue, transmitQueue)) : kNotOpen;
}

PortResult SerialPort::TransmitImmediate(unsigned char byte)
{
    return IsOpen() ? Checked(TransmitCommChar(Native(m_handle), static_cast<char>(byte))) : kNotOpen;
}

void SerialPort::Close()
{
    if (!IsOpen()) return;
    CloseHandle(Native(std::exchange(m_handle, kNoHandle)));
}

} // namespace platform
