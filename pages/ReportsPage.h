#pragma once
// The reports page: makes the printer print its daily report, a periodic
// report over a range of dates or of report numbers, and a monthly report.
// A successful report shows no message.

#include "framework/Window.h"
#include "pages/Page.h"

#include <string>

namespace qm47 {

class CReportsPage : public CPage {
public:
    explicit CReportsPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void DailyReport();
    void PeriodicReport();
    void MonthlyReport();

    bool m_periodicFull = false; // "Raport pełny" of the periodic report
    std::string m_firstNumber;
    std::string m_lastNumber;
    int m_numbersRange = 0;      // 0: "Według numerów" checked, -1: the dates range
    fw::Date m_firstDate;        // no date until read: the pickers open on today
    fw::Date m_lastDate;
    std::string m_monthYear;     // two-digit year, as typed
    std::string m_month;
    bool m_monthlyFull = false;  // "Raport pełny" of the monthly report
};

} // namespace qm47
