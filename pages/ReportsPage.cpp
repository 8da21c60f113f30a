#include "pages/ReportsPage.h"

#include "app/NumberText.h"
#include "app/Records.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
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

// Report kinds; in each pair the odd one is the short report.
constexpr std::uint8_t kDailyKind = 0;
constexpr std::uint8_t kNumbersFullKind = 0x10, kNumbersShortKind = 0x11;
constexpr std::uint8_t kDatesFullKind = 0, kDatesShortKind = 1;
constexpr std::uint8_t kMonthlyFullKind = 6, kMonthlyShortKind = 7;
// The monthly report's last day: the same for every month.
constexpr std::uint8_t kMonthlyFullLastDay = 31, kMonthlyShortLastDay = 30;

// The printer's answers to a range it refuses.
constexpr std::int32_t kPeriodicRangeError = -25;
constexpr std::int32_t kMonthlyRangeError = static_cast<std::int32_t>(0xE0000001u);

} // namespace

std::optional<std::uint8_t> TwoDigitYear(int fullYear)
{
    if (fullYear >= 1950 && fullYear <= 1999) return static_cast<std::uint8_t>(fullYear - 1900);
    if (fullYear >= 2000 && fullYear <= 2049) return static_cast<std::uint8_t>(fullYear - 2000);
    return std::nullopt;
}

CReportsPage::CReportsPage(CServiceApp& app) : fw::CDialog(res::kReportsDialog), m_app(app) {}

bool CReportsPage::OnInitDialog()
{
    Wnd().SetDateRange(IDC_REPORTS_FIRST_DATE, kFirstPickableDate, kLastPickableDate);
    Wnd().SetDateRange(IDC_REPORTS_LAST_DATE, kFirstPickableDate, kLastPickableDate);
    return fw::CDialog::OnInitDialog();
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

bool CReportsPage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_REPORTS_DAILY: DailyReport(); return true;
    case IDC_REPORTS_PERIODIC: PeriodicReport(); return true;
    case IDC_REPORTS_MONTHLY: MonthlyReport(); return true;
    default: return false;
    }
}

void CReportsPage::DailyReport()
{
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }
    DailyReportRequest request{};
    request.kind = kDailyKind;
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    ReportError(m_app, *this, m_app.Library().LBDAYREP(&request));
}

void CReportsPage::PeriodicReport()
{
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;

    const fw::Date first = Wnd().GetDate(IDC_REPORTS_FIRST_DATE);
    const fw::Date last = Wnd().GetDate(IDC_REPORTS_LAST_DATE);
    const bool full = m_periodicFull == 1;

    LibraryResult result{};
    const char* rangeError = nullptr;
    if (m_numbersRange == 0) {
        NumberReportRequest request{};
        request.kind = full ? kNumbersFullKind : kNumbersShortKind;
        request.firstNumber = ParseDecimal(m_firstNumber);
        request.lastNumber = ParseDecimal(m_lastNumber);
        request.registerNumber = text::kRegisterNumber.c_str();
        request.cashier = text::kCashier.c_str();
        result = m_app.Library().LBFSKREP_R(&request);
        rangeError = text::kNumberRangeError.c_str();
    } else {
        const auto firstYear = TwoDigitYear(first.year);
        const auto lastYear = TwoDigitYear(last.year);
        // The pickers offer no other years; a date without a two-digit
        // year is a range the printer could not be asked about.
        if (!firstYear || !lastYear) {
            fw::ShowMessage(this, text::kDateRangeError, nullptr, {fw::MessageIcon::Information});
            return;
        }
        DateReportRequest request{};
        request.firstYear = *firstYear;
        request.firstMonth = static_cast<std::uint8_t>(first.month);
        request.firstDay = static_cast<std::uint8_t>(first.day);
        request.lastYear = *lastYear;
        request.lastMonth = static_cast<std::uint8_t>(last.month);
        request.lastDay = static_cast<std::uint8_t>(last.day);
        request.kind = full ? kDatesFullKind : kDatesShortKind;
        request.registerNumber = text::kRegisterNumber.c_str();
        request.cashier = text::kCashier.c_str();
        result = m_app.Library().LBFSKREP_D(&request);
        rangeError = text::kDateRangeError.c_str();
    }

    if (ReportMissing(*this, result)) return;
    // The range error is told by the page alone, without the library's message.
    if (result.code == kPeriodicRangeError)
        fw::ShowMessage(this, rangeError, nullptr, {fw::MessageIcon::Information});
    else if (result.code != 0)
        ShowLibraryError(m_app, *this, result.code);
}

void CReportsPage::MonthlyReport()
{
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;

    // The two-digit year is sent as typed.
    const std::uint8_t year = LowByte(ParseDecimal(m_monthYear));
    const std::uint8_t month = LowByte(ParseDecimal(m_month));
    const bool full = m_monthlyFull == 1;

    DateReportRequest request{};
    request.firstYear = year;
    request.firstMonth = month;
    request.firstDay = 1;
    request.lastYear = year;
    request.lastMonth = month;
    request.lastDay = full ? kMonthlyFullLastDay : kMonthlyShortLastDay;
    request.kind = full ? kMonthlyFullKind : kMonthlyShortKind;
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    const LibraryResult result = m_app.Library().LBFSKREP_D(&request);

    if (ReportMissing(*this, result)) return;
    // The monthly range error is told by the page and then by the library.
    if (result.code == kMonthlyRangeError)
        fw::ShowMessage(this, text::kDateRangeError, nullptr, {fw::MessageIcon::Information});
    if (result.code != 0) ShowLibraryError(m_app, *this, result.code);
}

} // namespace qm47
