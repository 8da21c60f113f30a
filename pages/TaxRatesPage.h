#pragma once
// The tax-rate page: sends the seven tax (PTU) rates A to G. It opens with
// fixed defaults, not the printer's rates, and stops silently on an
// off-line printer or a rate it will not send.

#include "app/Records.h"
#include "pages/Page.h"

#include <array>
#include <string>

namespace qm47 {

class CTaxRatesPage : public CPage {
public:
    explicit CTaxRatesPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void SetRates();

    std::array<std::string, kRateCount> m_rates; // A to G, as typed
};

} // namespace qm47
