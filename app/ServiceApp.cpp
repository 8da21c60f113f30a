#include "app/ServiceApp.h"

#include "framework/MessageBox.h"
#include "platform/DynamicLibrary.h"
#include "platform/Time.h"
#include "res/Texts.h"

#include <string>
#include <string_view>

namespace qm47 {

namespace {

// LBSERM's argument on connecting, always the same.
constexpr std::int32_t kConnectServiceMode = 3;

constexpr unsigned kSecondStatusDelayMs = 50;

} // namespace

DeviceLibrary BindDeviceLibrary(DiagnosticLog& log)
{
    platform::DynamicLibrary library(text::kLibraryFileName.c_str());
    if (!library.Loaded()) {
        log.Library(text::kLibraryFileName.c_str(), library.ErrorCode(), library.ErrorText(), {}, {});
        fw::ShowMessage(nullptr, text::kNoLibrary, text::kNoLibraryCaption.c_str());
        return {};
    }
    DeviceLibrary bound = DeviceLibrary::Resolve([&](const char* name) { return library.Symbol(name); });
    if (log.Active()) log.Library(library.Path(), 0, {}, library.FileVersion(), bound.MissingExports());
    // The library stays loaded until the process ends; the handle is not kept.
    library.KeepLoaded();
    return bound;
}

ConnectResult CServiceApp::Connect(const std::string& port)
{
    m_library.Port_Close();
    // An empty Port_Open slot counts as a port that failed to open.
    const LibraryResult opened = m_library.Port_Open(port.c_str(), kPrinterBaudRate);
    m_portName = port;
    if (opened.missing || opened.code != 0)
        return {m_library.Loaded() ? Connection::PortNotOpened : Connection::NoLibrary, opened};

    IsPrinterOnline();
    platform::SleepMilliseconds(kSecondStatusDelayMs);
    switch (IsPrinterOnline()) {
    case 1:
        m_library.LBSERM(kConnectServiceMode);
        m_library.Send_BEL();
        return {Connection::Online, opened};
    case 0:
        return {Connection::Offline, opened};
    default:
        m_library.Port_Close();
        return {Connection::NoAnswer, opened};
    }
}

void CServiceApp::Disconnect() const
{
    m_library.Port_Close();
}

OwnLinkSend CServiceApp::SendOverOwnLink(const std::string& frame)
{
    m_library.Port_Close();
    const OpenResult opened = m_link.Open(m_portName);
    const SendResult sent = opened.opened ? m_link.Send(frame) : SendResult{};
    m_link.Close();
    m_log.SerialLink(m_portName, std::string_view(frame.c_str(), frame.size() + 1), m_link.LastUse());
    const LibraryResult reopened = m_library.Port_Open(m_portName.c_str(), kPrinterBaudRate);
    return {opened.opened, sent.whole, !reopened.missing && reopened.code == 0};
}

bool CServiceApp::InitInstance(const std::function<void()>& runMainWindow, bool log)
{
    if (log) {
        m_log.Open(text::kLogFileName.c_str());
    }
    SetLibrary(BindDeviceLibrary(m_log));
    m_library.SetLog(&m_log);
    runMainWindow();
    return false;
}

std::int32_t CServiceApp::IsPrinterOnline() const
{
    PrinterStatus status{kNoAnswer, kNoAnswer, kNoAnswer};
    m_library.GetStatus_Printer(&status, Reads<PrinterStatus>({"onl"}));
    if (status.onl == 1) return 1;
    if (status.onl == 0) return 0;
    return kNoAnswer;
}

std::int32_t CServiceApp::IsInTransaction() const
{
    CashRegisterStatus status{kNoAnswer, kNoAnswer, kNoAnswer, kNoAnswer};
    m_library.GetStatus_CashRegister(&status, Reads<CashRegisterStatus>({"par"}));
    return status.par == 1 ? 1 : 0;
}

} // namespace qm47
