#include "pages/ReportsPage.h"

#include "app/NumberText.h"
#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

constexpr int kMonthEditLimit = 2;

// The dates a two-digit year can stand for.
constexpr fw::Date kFirstPickableDate{1950, 1, 1};
constexpr fw::Date kLastPickableDate{2049, 12, 31};

std::optional<ReportDay> ToReportDay(const fw::Date& date)
{
    const auto year = TwoDigitYear(date.year);
    if (!year) return std::nullopt;
    return ReportDay{*year, static_cast<std::uint8_t>(date.month), static_cast<std::uint8_t>(date.day)};
}

} // namespace

std::optional<std::uint8_t> TwoDigitYear(int fullYear)
{
    if (fullYear >= 1950 && fullYear <= 1999) return static_cast<std::uint8_t>(fullYear - 1900);
    if (fullYear >= 2000 && fullYear <= 2049) return static_cast<std::uint8_t>(fullYear - 2000);
    return std::nullopt;
}

CReportsPage::CReportsPage(CServiceApp& app) : CPage(app, res::kReportsDialog)
{
    OnClick(IDC_REPORTS_DAILY, &CReportsPage::DailyReport);
    OnClick(IDC_REPORTS_PERIODIC, &CReportsPage::PeriodicReport);
    OnClick(IDC_REPORTS_MONTHLY, &CReportsPage::MonthlyReport);
}

bool CReportsPage::OnInitDialog()
{
    Wnd().SetDateRange(IDC_REPORTS_FIRST_DATE, kFirstPickableDate, kLastPickableDate);
    Wnd().SetDateRange(IDC_REPORTS_LAST_DATE, kFirstPickableDate, kLastPickableDate);
    return CPage::OnInitDialog();
}

void CReportsPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Check(IDC_REPORTS_PERIODIC_FULL, m_periodicFull);
    dx.Text(IDC_REPORTS_FIRST_NUMBER, m_firstNumber);
    dx.Text(IDC_REPORTS_LAST_NUMBER, m_lastNumber);
    // Only "Według numerów" is read: the dates range is whatever is not it.
    dx.Radio(IDC_REPORTS_BY_NUMBERS, m_numbersRange);
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
    if (!PrinterReady() || !UpdateData(fw::Exchange::Save)) return;
    const bool full = m_periodicFull == 1;

    LibraryResult result{};
    std::string_view rangeError;
    if (m_numbersRange == 0) {
        NumberReportRequest request = NumberReport(full, ParseDecimal(m_firstNumber), ParseDecimal(m_lastNumber));
        result = Library().LBFSKREP_R(&request);
        rangeError = text::kNumberRangeError;
    } else {
        const auto first = ToReportDay(Wnd().GetDate(IDC_REPORTS_FIRST_DATE));
        const auto last = ToReportDay(Wnd().GetDate(IDC_REPORTS_LAST_DATE));
        rangeError = text::kDateRangeError;
        // The pickers offer no other years; a date without a two-digit
        // year is a range the printer could not be asked about.
        if (!first || !last) {
            MessageBox(rangeError, nullptr, {fw::MessageIcon::Information});
            return;
        }
        DateReportRequest request = qm47::PeriodicReport(*first, *last, full);
        result = Library().LBFSKREP_D(&request);
    }

    if (ReportMissing(result)) return;
    // The range error is told by the page alone, without the library's message.
    if (result.code == kPeriodicRangeError) MessageBox(rangeError, nullptr, {fw::MessageIcon::Information});
    else if (result.code != 0) ShowLibraryError(result.code);
}

void CReportsPage::MonthlyReport()
{
    if (!PrinterReady() || !UpdateData(fw::Exchange::Save)) return;
    // The two-digit year is sent as typed.
    DateReportRequest request =
        qm47::MonthlyReport(LowByte(ParseDecimal(m_monthYear)), LowByte(ParseDecimal(m_month)), m_monthlyFull == 1);
    const LibraryResult result = Library().LBFSKREP_D(&request);

    if (ReportMissing(result)) return;
    // The monthly range error is told by the page and then by the library.
    if (result.code == kMonthlyRangeError) MessageBox(text::kDateRangeError, nullptr, {fw::MessageIcon::Information});
    if (result.code != 0) ShowLibraryError(result.code);
}

} // namespace qm47
