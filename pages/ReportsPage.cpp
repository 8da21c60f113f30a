#include "pages/ReportsPage.h"

#include "app/NumberText.h"
#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "pages/ReportRules.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {
constexpr int kMonthEditLimit = 2;
} // namespace

CReportsPage::CReportsPage(CServiceApp& app) : CPage(app, res::kReportsDialog)
{
    OnClick(IDC_REPORTS_DAILY, &CReportsPage::DailyReport);
    OnClick(IDC_REPORTS_PERIODIC, &CReportsPage::PeriodicReport);
    OnClick(IDC_REPORTS_MONTHLY, &CReportsPage::MonthlyReport);
}

void CReportsPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Check(IDC_REPORTS_PERIODIC_FULL, m_periodicFull);
    dx.Text(IDC_REPORTS_FIRST_NUMBER, m_firstNumber);
    dx.Text(IDC_REPORTS_LAST_NUMBER, m_lastNumber);
    // Only "Według numerów" is read: the dates range is whatever is not it.
    dx.Radio(IDC_REPORTS_BY_NUMBERS, m_numbersRange);
    dx.Date(IDC_REPORTS_FIRST_DATE, m_firstDate, kFirstReportDate, kLastReportDate);
    dx.Date(IDC_REPORTS_LAST_DATE, m_lastDate, kFirstReportDate, kLastReportDate);
    dx.Text(IDC_REPORTS_MONTH_YEAR, m_monthYear, kMonthEditLimit);
    dx.Text(IDC_REPORTS_MONTH, m_month, kMonthEditLimit);
    dx.Check(IDC_REPORTS_MONTHLY_FULL, m_monthlyFull);
}

void CReportsPage::DailyReport()
{
    if (!PrinterReady()) return;
    DailyReportRequest request = qm47::DailyReport();
    ReportError(Library().LBDAYREP(&request));
}

void CReportsPage::PeriodicReport()
{
    if (!PrinterReadyAndRead()) return;
    LibraryResult result{};
    std::string_view rangeError;
    if (m_numbersRange == 0) {
        NumberReportRequest request = NumberReport(m_periodicFull, ParseDecimal(m_firstNumber), ParseDecimal(m_lastNumber));
        result = Library().LBFSKREP_R(&request);
        rangeError = text::kNumberRangeError;
    } else {
        const auto first = ToReportDay(m_firstDate);
        const auto last = ToReportDay(m_lastDate);
        rangeError = text::kDateRangeError;
        // The pickers offer no other years; a date without a two-digit
        // year is a range the printer could not be asked about.
        if (!first || !last) {
            MessageBox(rangeError, nullptr, {fw::MessageIcon::Information});
            return;
        }
        DateReportRequest request = qm47::PeriodicReport(*first, *last, m_periodicFull);
        result = Library().LBFSKREP_D(&request);
    }

    if (ReportMissing(result)) return;
    // The range error is told by the page alone, without the library's message.
    if (result.code == kPeriodicRangeError) MessageBox(rangeError, nullptr, {fw::MessageIcon::Information});
    else if (result.code != 0) ShowLibraryError(result.code);
}

void CReportsPage::MonthlyReport()
{
    if (!PrinterReadyAndRead()) return;
    // The two-digit year is sent as typed.
    DateReportRequest request =
        qm47::MonthlyReport(LowByte(ParseDecimal(m_monthYear)), LowByte(ParseDecimal(m_month)), m_monthlyFull);
    const LibraryResult result = Library().LBFSKREP_D(&request);

    if (ReportMissing(result)) return;
    // The monthly range error is told by the page and then by the library.
    if (result.code == kMonthlyRangeError) MessageBox(text::kDateRangeError, nullptr, {fw::MessageIcon::Information});
    if (result.code != 0) ShowLibraryError(result.code);
}

} // namespace qm47
