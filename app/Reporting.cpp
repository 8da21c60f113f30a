#include "app/Reporting.h"

#include "app/ServiceApp.h"
#include "framework/Dialog.h"
#include "res/Texts.h"

#include <string>

namespace qm47 {

bool ReportMissing(const fw::CDialog& owner, const LibraryResult& result)
{
    if (!result.missing) return false;
    std::string message(text::kMissingExportPrefix.view());
    message += result.exportName;
    fw::ShowMessage(&owner, message, nullptr, {fw::MessageIcon::Exclamation});
    return true;
}

void ShowLibraryError(const CServiceApp& app, const fw::CDialog& owner, std::int32_t code)
{
    if (!app.Library().ErrorMessage("", code).missing) return;
    // Without the library's own message the error must still reach the technician.
    std::string message(text::kPrinterErrorPrefix.view());
    message += std::to_string(code);
    fw::ShowMessage(&owner, message, nullptr, {fw::MessageIcon::Exclamation});
}

bool ReportError(const CServiceApp& app, const fw::CDialog& owner, const LibraryResult& result)
{
    if (ReportMissing(owner, result)) return true;
    if (result.code != 0) ShowLibraryError(app, owner, result.code);
    return result.code != 0;
}

void ReportResult(const CServiceApp& app, const fw::CDialog& owner, const LibraryResult& result)
{
    if (ReportMissing(owner, result)) return;
    if (result.code != 0) ShowLibraryError(app, owner, result.code);
    else fw::ShowMessage(&owner, text::kOperationDone, nullptr, {fw::MessageIcon::Information});
}

bool PrinterReady(const CServiceApp& app, const fw::CDialog& owner, OnlineRule rule)
{
    const std::int32_t online = app.IsPrinterOnline();
    if (rule == OnlineRule::NotOffLine ? online != 0 : online == 1) return true;
    if (rule != OnlineRule::OnLineSilent) fw::ShowMessage(&owner, text::kOfflineOperation);
    return false;
}

} // namespace qm47
