#pragma once
// The display page: puts two lines on the customer display or on the
// operator display, or switches the display to the date and time or to
// cash-register mode. It reads nothing from the printer and shows nothing on
// success.

#include "pages/Page.h"

#include <cstdint>
#include <string>

namespace qm47 {

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
