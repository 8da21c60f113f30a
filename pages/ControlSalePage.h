#pragma once
// The control sale page: sells one article of 0.01 at a chosen rate, after
// making sure the printer is in no open transaction and the name is not
// blocked at another rate, and shows the seven rate totalizers, read on
// opening and after every attempt. It shows no success message.

#include "app/Records.h"
#include "pages/Page.h"

#include <array>
#include <string>

namespace qm47 {

class CControlSalePage : public CPage {
public:
    explicit CControlSalePage(CServiceApp& app);

private:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void ControlSale();
    // The receipt: header, the one line, end.
    void Sell(char letter);

    std::string m_name;
    std::string m_rate; // the combo box's text
    std::array<std::string, kRateCount> m_totalizers; // A to G, as the printer reports them
};

} // namespace qm47
