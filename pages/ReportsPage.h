#pragma once
// The reports page: makes the printer print its daily report, a periodic
// report over a range of dates or of report numbers, and a monthly report.
// A successful report shows no message.

#include "pages/Page.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qm47 {

// The two-digit year the report requests carry: 1950..1999 give 50..99 and
// 2000..2049 give 0..49. Other years have no two-digit form (the date
// pickers do not offer them).
std::optional<std::uint8_t> TwoDigitYear(int fullYear);

class CReportsPage : public CPage {
public:
    explicit CReportsPage(CServiceApp& app);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;

private:
    void DailyReport();
    void PeriodicReport();
    void MonthlyReport();

    int m_periodicFull = 0;    // "Raport pełny" of the periodic report
    std::string m_firstNumber;
    std::string m_lastNumber;
    int m_numbersRange = 0;    // 0: "Według numerów" checked, -1: the dates range
    std::string m_monthYear;   // two-digit year, as typed
    std::string m_month;
    int m_monthlyFull = 0;     // "Raport pełny" of the monthly report
};

} // namespace qm47
