#include "app/ServiceApp.h"

#include "framework/MessageBox.h"
#include "platform/DynamicLibrary.h"
#include "res/Texts.h"

namespace qm47 {

DeviceLibrary BindDeviceLibrary()
{
    platform::DynamicLibrary library(text::kLibraryFileName.c_str());
    if (!library.Loaded()) {
        fw::ShowMessage(nullptr, text::kNoLibrary, text::kNoLibraryCaption.c_str());
        return {};
    }
    DeviceLibrary bound = DeviceLibrary::Resolve([&](const char* name) { return library.Symbol(name); });
    // The library stays loaded until the process ends; the handle is not kept.
    library.KeepLoaded();
    return bound;
}

bool CServiceApp::InitInstance(const std::function<void()>& runMainWindow)
{
    SetLibrary(BindDeviceLibrary());
    runMainWindow();
    return false;
}

std::int32_t CServiceApp::IsPrinterOnline() const
{
    PrinterStatus status{9, 9, 9};
    m_library.GetStatus_Printer(&status);
    if (status.onl == 1) return 1;
    if (status.onl == 0) return 0;
    return 9;
}

std::int32_t CServiceApp::IsInTransaction() const
{
    CashRegisterStatus status{9, 9, 9, 9};
    m_library.GetStatus_CashRegister(&status);
    return status.par == 1 ? 1 : 0;
}

} // namespace qm47
