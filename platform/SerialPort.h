#pragma once
// A serial port held for exclusive use, with the few operations the direct
// link needs. The Windows build implements them with the comm API
// (platform/win32), other systems with termios (platform/posix); the build
// picks the file. Every operation on a port that is not open fails.

#include "platform/SerialSettings.h"

#include <cstdint>
#include <utility>

namespace platform {

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

    // Opens the named port for reading and writing, shared with no one.
    // The result has no port when that fails; check IsOpen().
    static SerialPort OpenExclusive(const char* name);

    bool IsOpen() const { return m_handle != kNoHandle; }

    bool ApplySettings(const SerialSettings& settings);
    bool ApplyTimeouts(const SerialTimeouts& timeouts);
    // Makes received characters the only event the port reports.
    bool SetReceiveEventMask();
    // Aborts pending transfers and drops whatever is queued, both directions.
    bool PurgeBothDirections();
    bool ReadProperties(SerialDeviceProperties& properties);
    bool SetQueueSizes(std::uint32_t receiveQueue, std::uint32_t transmitQueue);
    // Sends one byte ahead of any output already queued.
    bool TransmitImmediate(unsigned char byte);
    // Closes the port; harmless when none is open.
    void Close();

private:
    // A Windows HANDLE or a POSIX descriptor; both platforms mark "none" with
    // -1 (INVALID_HANDLE_VALUE is -1 as an integer).
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kNoHandle = -1;

    explicit SerialPort(NativeHandle handle) : m_handle(handle) {}

    NativeHandle m_handle = kNoHandle;
};

} // namespace platform
