#pragma once
// The clock page: shows the printer's clock as read when the page opens and
// sets a new date and time, proposed from the computer's clock.

#include "app/Records.h"
#include "pages/Page.h"
#include "platform/Time.h"

#include <array>
#include <string>

namespace qm47 {

// The new-setting texts proposed from the computer's clock, in the order
// year, month, day, hour, minute, second: two digits each, the year within
// its century; the second is always "00".
std::array<std::string, 6> ProposedClockTexts(const platform::LocalTime& now);

// The printer's date as "2003/7/2": a year byte up to 49 is a year of the
// 2000s, any other one of the 1900s; no leading zeros.
std::string PrinterDateText(const ClockTime& clock);

// The printer's time as "9:05:00": the minute with two digits, the hour
// without a leading zero; the printer's second is not shown.
std::string PrinterTimeText(const ClockTime& clock);

class CClockPage : public CPage {
public:
    explicit CClockPage(CServiceApp& app);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;

private:
    void SetClock();

    std::array<std::string, 6> m_newSetting; // year, month, day, hour, minute, second, as typed
    std::string m_printerDate;
    std::string m_printerTime;
};

} // namespace qm47
