#include "serial/SerialLink.h"

#include "platform/Time.h"

namespace qm47 {

OpenResult CSerialLink::Open(const std::string& portName)
{
    // Every open starts from a link without a port and a fresh record; at
    // the first step that fails the port is let go again.
    m_lastUse = {};
    const auto failed = [this](OpenStep step, platform::PortResult result) {
        m_port.Close();
        m_lastUse.open = {.failedStep = step, .systemError = result.systemError};
        return m_lastUse.open;
    };
    if (const auto result = m_port.OpenExclusive(portName.c_str()); !result) return failed(OpenStep::CreateFileA, result);
    if (const auto result = m_port.ApplySettings(kPortSettings); !result) return failed(OpenStep::SetCommState, result);
    if (const auto result = m_port.ApplyTimeouts(kTimeouts); !result) return failed(OpenStep::SetCommTimeouts, result);
    if (const auto result = m_port.SetReceiveEventMask(); !result) return failed(OpenStep::SetCommMask, result);
    // Whatever was left queued is dropped; a purge that fails leaves nothing
    // the link depends on, so its result does not stop the open.
    m_port.PurgeBothDirections();
    platform::SerialDeviceProperties properties;
    if (const auto result = m_port.ReadProperties(properties); !result)
        return failed(OpenStep::GetCommProperties, result);
    if (const auto result = m_port.SetQueueSizes(ReceiveQueueSize(properties.maxReceiveQueue), 0); !result)
        return failed(OpenStep::SetupComm, result);
    m_lastUse.open.opened = true;
    return m_lastUse.open;
}

SendResult CSerialLink::Send(const std::string& text)
{
    struct PlatformClock {
        static std::uint32_t Milliseconds() { return platform::MonotonicMilliseconds(); }
        static void Wait(unsigned milliseconds) { platform::SleepMilliseconds(milliseconds); }
    } clock;
    // The text and its terminating zero byte.
    m_lastUse.send = {};
    if (m_port.IsOpen())
        m_lastUse.send = TransmitEveryByte(
            std::string_view(text.c_str(), text.size() + 1),
            [this](unsigned char byte) { return m_port.TransmitImmediate(byte); }, clock);
    platform::SleepMilliseconds(kPauseAfterSendMs);
    return m_lastUse.send;
}

void CSerialLink::Close()
{
    m_port.Close();
}

std::string CSerialLink::CheckSum(std::string_view text)
{
    unsigned char sum = 0xFF;
    for (const char byte : text) sum ^= static_cast<unsigned char>(byte);
    constexpr char kDigits[] = "0123456789abcdef";
    return {kDigits[sum >> 4], kDigits[sum & 0x0F]};
}

std::uint32_t CSerialLink::ReceiveQueueSize(std::uint32_t driverLimit)
{
    return driverLimit == 0 || driverLimit > kReceiveQueue ? kReceiveQueue : driverLimit;
}

} // namespace qm47
