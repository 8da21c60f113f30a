#pragma once
// What every page has: the application object it works for, the on-line
// check before a command, and the reporting of a library call's result.

#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/Dialog.h"

namespace qm47 {

class CPage : public fw::CDialog {
protected:
    CPage(CServiceApp& app, const fw::DialogTemplate& dialogTemplate) : fw::CDialog(dialogTemplate), m_app(app) {}

    const DeviceLibrary& Library() const { return m_app.Library(); }
    bool PrinterReady(OnlineRule rule = OnlineRule::OnLine) const { return qm47::PrinterReady(m_app, *this, rule); }
    // The usual start of a command: the on-line check, then the controls
    // read into the members. False when either stops the command.
    bool PrinterReadyAndRead(OnlineRule rule = OnlineRule::OnLine)
    {
        return PrinterReady(rule) && UpdateData(fw::Exchange::Save);
    }
    void ReportResult(const LibraryResult& result) const { qm47::ReportResult(m_app, *this, result); }
    bool ReportError(const LibraryResult& result) const { return qm47::ReportError(m_app, *this, result); }
    bool ReportMissing(const LibraryResult& result) const { return qm47::ReportMissing(*this, result); }
    void ShowLibraryError(std::int32_t code) const { qm47::ShowLibraryError(m_app, *this, code); }

    CServiceApp& m_app;
};

} // namespace qm47
