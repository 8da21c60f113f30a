#include "ui/MainDlg.h"

#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "ui/AboutDlg.h"
#include "ui/StatusFormat.h"

#include <iterator>

namespace qm47 {

namespace {

// The status panel's fields but the rates (res::kMainRates), and the lamps.
constexpr int kStatusFields[] = {
    IDC_MAIN_DEVICE_NAME, IDC_MAIN_UNIQUE_NUMBER, IDC_MAIN_MODE, IDC_MAIN_RAM_RESETS, IDC_MAIN_LAST_FM_WRITE,
    IDC_MAIN_RECEIPTS,
    // The lamps.
    IDC_MAIN_FSK, IDC_MAIN_CMD, IDC_MAIN_PAR, IDC_MAIN_TRF, IDC_MAIN_ONL, IDC_MAIN_PE, IDC_MAIN_ERR};
static_assert(std::size(res::kMainRates) == kRateCount);

} // namespace

CMainDlg::CMainDlg(CServiceApp& app, PageFactory makePage)
    : fw::CDialog(res::kMainDialog), m_app(app), m_makePage(std::move(makePage)), m_port(text::kDefaultPort.str())
{
    OnClick(IDC_MAIN_CONNECT, &CMainDlg::Connect);
    OnClick(IDC_MAIN_DISCONNECT, &CMainDlg::Disconnect);
    OnClick(IDC_MAIN_REFRESH, &CMainDlg::Refresh);
    OnClick(IDC_MAIN_ABOUT, &CMainDlg::OpenAbout);
    for (const res::PageButton& button : res::kMainPageButtons)
        OnClick(button.id, [this, id = button.id] { OpenPage(id); });
}

bool CMainDlg::OnInitDialog()
{
    fw::CDialog::OnInitDialog();
    Wnd().AppendSystemMenuItem(IDM_ABOUTBOX, text::kAboutMenuItem);
    Wnd().SetIcon(IDI_APP);
    return true; // the focus goes to "Połąc&z", the first control
}

void CMainDlg::DoDataExchange(fw::DataExchange& dx)
{
    dx.ComboText(IDC_MAIN_PORT, m_port);
}

bool CMainDlg::OnSysCommand(int command)
{
    if ((command & fw::kSystemCommandMask) != IDM_ABOUTBOX) return false;
    OpenAbout();
    return true;
}

void CMainDlg::OnCancel()
{
    // The program ends through its own window (Koniec, Escape, the close box).
    m_app.Log().EndOfSession();
    fw::CDialog::OnCancel();
}

void CMainDlg::Connect()
{
    DisableOnlineButtons();
    ClearStatusPanel();

    UpdateData(fw::Exchange::Save);
    const ConnectResult connected = m_app.Connect(m_port);
    UpdateData(fw::Exchange::Load);
    switch (connected.connection) {
    case Connection::NoLibrary:
        MessageBox(text::kNoLibrary, nullptr, {fw::MessageIcon::Exclamation});
        break;
    case Connection::PortNotOpened:
        // A library that lacks the export is named as such, not as a port that would not open.
        if (!ReportMissing(*this, connected.portOpened)) ShowMessage(text::kCannotOpenPort);
        break;
    case Connection::Online:
        ShowStatusPanel();
        ShowPrinterLamps();
        ShowCashRegisterLamps();
        EnableAllButtons();
        break;
    case Connection::Offline:
        ShowMessage(text::kPrinterOffline);
        break;
    case Connection::NoAnswer:
        ShowMessage(text::kPrinterNotConnected);
        break;
    }
}

void CMainDlg::Disconnect()
{
    m_app.Disconnect();
    ClearStatusPanel();
    DisableOnlineButtons();
}

void CMainDlg::Refresh()
{
    if (QueryCashRegister()) {
        ShowPrinterLamps();
        ShowCashRegisterLamps();
        ShowStatusPanel();
    } else {
        ShowPrinterLamps();
    }
}

void CMainDlg::OpenPage(int buttonId)
{
    std::unique_ptr<fw::CDialog> page = m_makePage(buttonId, m_app);
    m_app.Log().PageOpened(Wnd().GetText(buttonId));
    DisableAllButtons();
    // Only a page that opened can be closed: one that refused (off-line) was never shown.
    if (page->DoModal() == fw::kIdCancel && page->Opened()) m_app.Log().PageClosed();
    EnableAllButtons();
    // The button lost the focus when it was disabled; without it the focus
    // would stay where the window put it on closing the page, the port box.
    Wnd().SetFocus(buttonId);
}

void CMainDlg::OpenAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CMainDlg::DisableOnlineButtons()
{
    for (const res::PageButton& button : res::kMainPageButtons) Wnd().Enable(button.id, false);
    Wnd().Enable(IDC_MAIN_REFRESH, false);
    Wnd().Enable(IDC_MAIN_DISCONNECT, false);
}

void CMainDlg::EnableAllButtons()
{
    for (const res::PageButton& button : res::kMainPageButtons) Wnd().Enable(button.id, true);
    for (int id : {IDC_MAIN_REFRESH, IDC_MAIN_DISCONNECT, IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT})
        Wnd().Enable(id, true);
}

void CMainDlg::DisableAllButtons()
{
    DisableOnlineButtons();
    for (int id : {IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT}) Wnd().Enable(id, false);
}

void CMainDlg::ClearStatusPanel()
{
    for (int id : kStatusFields) Wnd().SetText(id, "");
    for (int id : res::kMainRates) Wnd().SetText(id, "");
}

void CMainDlg::ShowStatusPanel()
{
    const auto& library = m_app.Library();
    DeviceIdentity identity{nullptr, nullptr};
    library.LBIDRQ(&identity);
    const std::string name = FormatDeviceName(identity.namePart1, identity.namePart2);
    if (IsWarnedModel(identity.namePart1)) ShowMessage(text::kWarnedModelMessage);
    Wnd().SetText(IDC_MAIN_DEVICE_NAME, name);

    FiscalStatus status = PresetFiscalStatus();
    library.LBFSTRQ(&status, Reads<FiscalStatus>({"fiscalFlag", "ramResets", "lastFmYear", "lastFmMonth", "lastFmDay",
                                                  "ptuRate", "receiptCount", "uniqueNumber"}));

    Wnd().SetText(IDC_MAIN_RECEIPTS, std::to_string(status.receiptCount));
    Wnd().SetText(IDC_MAIN_LAST_FM_WRITE,
                  FormatFiscalMemoryDate(status.lastFmDay, status.lastFmMonth, status.lastFmYear));
    Wnd().SetText(IDC_MAIN_RAM_RESETS, std::to_string(status.ramResets));
    Wnd().SetText(IDC_MAIN_MODE, FormatMode(status.fiscalFlag));
    Wnd().SetText(IDC_MAIN_UNIQUE_NUMBER, FiscalText(status.uniqueNumber));
    for (std::size_t i = 0; i < kRateCount; ++i) Wnd().SetText(res::kMainRates[i], FormatRate(status.ptuRate[i]));
}

void CMainDlg::ShowPrinterLamps()
{
    PrinterStatus status{kNoAnswer, kNoAnswer, kNoAnswer};
    m_app.Library().GetStatus_Printer(&status);
    Wnd().SetText(IDC_MAIN_ERR, std::to_string(status.err));
    Wnd().SetText(IDC_MAIN_ONL, std::to_string(status.onl));
    Wnd().SetText(IDC_MAIN_PE, std::to_string(status.pe));
}

void CMainDlg::ShowCashRegisterLamps()
{
    CashRegisterStatus status{kNoAnswer, kNoAnswer, kNoAnswer, kNoAnswer};
    m_app.Library().GetStatus_CashRegister(&status);
    Wnd().SetText(IDC_MAIN_CMD, std::to_string(status.cmd));
    Wnd().SetText(IDC_MAIN_FSK, std::to_string(status.fsk));
    Wnd().SetText(IDC_MAIN_PAR, std::to_string(status.par));
    Wnd().SetText(IDC_MAIN_TRF, std::to_string(status.trf));
}

bool CMainDlg::QueryCashRegister()
{
    CashRegisterStatus status{kNoAnswer, kNoAnswer, kNoAnswer, kNoAnswer};
    const LibraryResult result = m_app.Library().GetStatus_CashRegister(&status, Reads<CashRegisterStatus>({}));
    return !result.missing && result.code == 0;
}

void CMainDlg::ShowMessage(std::string_view text)
{
    MessageBox(text);
}

} // namespace qm47
