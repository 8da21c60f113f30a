#pragma once
// The main window: port choice, Connect / Disconnect / Refresh, the status
// panel and lamps, and the buttons that open the pages.

#include "framework/Dialog.h"

#include <functional>
#include <memory>
#include <string>

namespace qm47 {

class CServiceApp;

// Makes the page behind a page button. The main window knows its pages only
// through this: the program's entry, which sits above both, supplies it.
using PageFactory = std::function<std::unique_ptr<fw::CDialog>(int buttonId, CServiceApp& app)>;

class CMainDlg : public fw::CDialog {
public:
    CMainDlg(CServiceApp& app, PageFactory makePage);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    bool OnSysCommand(int command) override;
    void OnCancel() override;

private:
    void Connect();
    void Disconnect();
    void Refresh();
    void OpenPage(int buttonId);
    void OpenAbout();

    void DisableOnlineButtons();
    void EnableAllButtons();
    void DisableAllButtons();

    void ClearStatusPanel();
    void ShowStatusPanel();
    void ShowPrinterLamps();
    void ShowCashRegisterLamps();
    bool QueryCashRegister();

    void ShowMessage(std::string_view text);

    CServiceApp& m_app;
    PageFactory m_makePage;
    std::string m_port;
};

} // namespace qm47
