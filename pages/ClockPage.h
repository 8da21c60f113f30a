#pragma once
// The clock page: shows the printer's clock as read when the page opens and
// sets a new date and time, proposed from the computer's clock.

#include "pages/ClockRules.h"
#include "pages/Page.h"

#include <string>

namespace qm47 {

class CClockPage : public CPage {
public:
    explicit CClockPage(CServiceApp& app);

private:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void SetClock();

    ClockTexts m_newSetting; // year, month, day, hour, minute, second, as typed
    std::string m_printerDate;
    std::string m_printerTime;
};

} // namespace qm47
