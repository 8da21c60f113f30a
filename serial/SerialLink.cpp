#include "serial/SerialLink.h"

#include "platform/Time.h"

#include <algorithm>

namespace qm47 {

bool CSerialLink::Open(const std::string& portName)
{
    // Every open starts from a link without a port.
    m_port.Close();
    m_port = platform::SerialPort::OpenExclusive(portName.c_str());
    if (!m_port.IsOpen()) return false;

    if (!m_port.ApplySettings(kPortSettings) || !m_port.ApplyTimeouts(kTimeouts) || !m_port.SetReceiveEventMask()) {
        m_port.Close();
        return false;
    }
    // Whatever was left queued is dropped; a purge that fails leaves nothing
    // the link depends on, so its result does not stop the open.
    m_port.PurgeBothDirections();
    platform::SerialDeviceProperties properties;
    if (!m_port.ReadProperties(properties)
        || !m_port.SetQueueSizes(ReceiveQueueSize(properties.maxReceiveQueue), 0)) {
        m_port.Close();
        return false;
    }
    return true;
}

bool CSerialLink::Send(std::string_view text)
{
    // Nothing is retried, and after a refused byte the rest of the frame is
    // not sent: all_of stops at the first refusal.
    const auto transmit = [this](char byte) { return m_port.TransmitImmediate(static_cast<unsigned char>(byte)); };
    const bool sent = std::all_of(text.begin(), text.end(), transmit) && transmit('\0');
    platform::SleepMilliseconds(kPauseAfterSendMs);
    return sent;
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
