#pragma once
// A serial port held for exclusive use, with the few operations the direct
// link needs. The Windows build implements them with the comm API
// (platform/win32), other systems with termios (platform/posix); the build
// picks the file. Every operation on a port that is not open fails.

#include "platform/SerialSettings.h"

#include <cstdint>
#include <utility>

namespace platform {

// How one operation on the port ended: done, or failed with the system's
// error code (GetLastError on Windows, errno on POSIX).
struct PortResult {
    bool done = true;
    std::uint32_t systemError = 0;

    explicit operator bool() const { return done; }
    static constexpr PortResult Failed(std::uint32_t systemError) { return {false, systemError}; }
};

class SerialPort {
public:
    SerialPort() = default; // no port
    ~SerialPort() { Close(); }
    SerialPort(SerialPort&& other) noexcept : m_handle(std::exchange(other.m_handle, kNoHandle)) {}
    SerialPort& operator=(SerialPort&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, kNoHandle);
        }
        return *this;
    }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the named port for reading and writing, shared with no one, in
    // place of any port held before. Holds no port when that fails.
    PortResult OpenExclusive(const char* name);

    bool IsOpen() const { return m_handle != kNoHandle; }

    PortResult ApplySettings(const SerialSettings& settings);
    PortResult ApplyTimeouts(const SerialTimeouts& timeouts);
    // Makes received characters the only event the port reports.
    PortResult SetReceiveEventMask();
    // Aborts pending transfers and drops whatever is queued, both directions.
    PortResult PurgeBothDirections();
    PortResult ReadProperties(SerialDeviceProperties& properties);
    PortResult SetQueueSizes(std::uint32_t receiveQueue, std::uint32_t transmitQueue);
    // Sends one byte ahead of any output already queued. Refused while the
    // port cannot take it now: Windows refuses while the previous byte has
    // not yet gone out, and a line held with XOFF refuses until released.
    PortResult TransmitImmediate(unsigned char byte);
    // Closes the port; harmless when none is open.
    void Close();

private:
    // A Windows HANDLE or a POSIX descriptor; both platforms mark "none" with
    // -1 (INVALID_HANDLE_VALUE is -1 as an integer).
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kNoHandle = -1;

    NativeHandle m_handle = kNoHandle;
};

} // namespace platform
