#pragma once
// The main window: port choice, Connect / Disconnect / Refresh, the status
// panel and lamps, and the buttons that open the pages.

#include "framework/Dialog.h"
#include "res/ResourceIds.h"

#include <functional>
#include <memory>
#include <string>

namespace qm47 {

class CServiceApp;

// Makes the page behind a page button, or nullptr while that page does not exist.
using PageFactory = std::function<std::unique_ptr<fw::CDialog>(int buttonId, CServiceApp& app)>;
std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app);

class CMainDlg : public fw::CDialog {
public:
    explicit CMainDlg(CServiceApp& app, PageFactory makePage = MakePage);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    bool OnCommand(int id, int notifyCode) override;
    bool OnSysCommand(int command) override;

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
