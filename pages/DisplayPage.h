#pragma once
// The display page: puts two lines on the customer display or on the
// operator display, or switches the display to the date and time or to
// cash-register mode. It reads nothing from the printer and shows nothing on
// success.

#include "framework/Dialog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm47 {

class CServiceApp;

class CDisplayPage : public fw::CDialog {
public:
    explicit CDisplayPage(CServiceApp& app);

    static constexpr int kLineLimit = 20; // characters a display line holds

protected:
    void DoDataExchange(fw::DataExchange& dx) override;
    bool OnCommand(int id, int notifyCode) override;

private:
    void OnCustomerSend();
    void OnOperatorSend();
    void OnDateTime();
    void OnCashRegister();

    bool CheckOnline() const;
    void Send(std::int32_t mode, const std::string& text) const;

    CServiceApp& m_app;
    std::string m_customerLine1;
    std::string m_customerLine2;
    std::string m_operatorLine1;
    std::string m_operatorLine2;
};

// The text of a display's two lines as LBDSP takes it: line 1, one CR
// (0x0D), line 2, and nothing after it. The bytes go unconverted.
std::string DisplayText(std::string_view line1, std::string_view line2);

} // namespace qm47
