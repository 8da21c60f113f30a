#pragma once
// The display page: puts two lines on the customer display or on the
// operator display, or switches the display to the date and time or to
// cash-register mode. It reads nothing from the printer and shows nothing on
// success.

#include "pages/Page.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm47 {

// The text of a display's two lines as LBDSP takes it: line 1, one CR
// (0x0D), line 2, and nothing after it. The bytes go unconverted.
std::string DisplayText(std::string_view line1, std::string_view line2);

class CDisplayPage : public CPage {
public:
    explicit CDisplayPage(CServiceApp& app);

    static constexpr int kLineLimit = 20; // characters a display line holds

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnCustomerSend();
    void OnOperatorSend();
    void OnDateTime();
    void OnCashRegister();

    // Sends what LBDSP shows in `mode`; errors go to the library's message.
    void Send(std::int32_t mode, const std::string& text) const;

    std::string m_customerLine1;
    std::string m_customerLine2;
    std::string m_operatorLine1;
    std::string m_operatorLine2;
};

} // namespace qm47
