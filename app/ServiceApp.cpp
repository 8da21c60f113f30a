#include "app/ServiceApp.h"

#include "framework/MessageBox.h"
#include "platform/DynamicLibrary.h"
#include "res/Texts.h"

#include <string>

namespace qm47 {

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

LibraryResult CServiceApp::OpenPort(const std::string& name)
{
    const LibraryResult opened = m_library.Port_Open(name.c_str(), kPrinterBaudRate);
    m_portName = name;
    return opened;
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
