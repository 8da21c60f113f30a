#include "pages/ClockPage.h"

#include "app/NumberText.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

std::string TwoDigits(int value)
{
    const int n = value % 100 < 0 ? value % 100 + 100 : value % 100;
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

} // namespace

std::array<std::string, 6> ProposedClockTexts(const platform::LocalTime& now)
{
    return {TwoDigits(now.year), TwoDigits(now.month), TwoDigits(now.day),
            TwoDigits(now.hour), TwoDigits(now.minute), "00"};
}

std::string PrinterDateText(const ClockTime& clock)
{
    const int year = clock.year <= 49 ? 2000 + clock.year : 1900 + clock.year;
    return std::to_string(year) + '/' + std::to_string(clock.month) + '/' + std::to_string(clock.day);
}

std::string PrinterTimeText(const ClockTime& clock)
{
    std::string minute = std::to_string(clock.minute);
    if (clock.minute <= 9) minute.insert(0, 1, '0');
    return std::to_string(clock.hour) + ':' + minute + ":00";
}

CClockPage::CClockPage(CServiceApp& app) : fw::CDialog(res::kClockDialog), m_app(app) {}

bool CClockPage::OnInitDialog()
{
    // Without an on-line printer the page closes before it is ever shown.
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        EndDialog(fw::kIdCancel);
        return false;
    }

    const auto proposed = ProposedClockTexts(platform::Now());
    m_year = proposed[0];
    m_month = proposed[1];
    m_day = proposed[2];
    m_hour = proposed[3];
    m_minute = proposed[4];
    m_second = proposed[5];

    // The reading is shown whatever LBSENDCK answers: a record it leaves
    // untouched shows as 2000/0/0 0:00:00.
    ClockTime clock{};
    m_app.Library().LBSENDCK(&clock);
    m_printerDate = PrinterDateText(clock);
    m_printerTime = PrinterTimeText(clock);

    UpdateData(fw::Exchange::Load);
    Wnd().SetFocus(IDC_CLOCK_YEAR);
    return false;
}

void CClockPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_CLOCK_YEAR, m_year);
    dx.Text(IDC_CLOCK_MONTH, m_month);
    dx.Text(IDC_CLOCK_DAY, m_day);
    dx.Text(IDC_CLOCK_HOUR, m_hour);
    dx.Text(IDC_CLOCK_MINUTE, m_minute);
    dx.Text(IDC_CLOCK_SECOND, m_second);
    dx.Text(IDC_CLOCK_PRINTER_DATE, m_printerDate);
    dx.Text(IDC_CLOCK_PRINTER_TIME, m_printerTime);
}

bool CClockPage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_CLOCK_SET: SetClock(); return true;
    default: return false;
    }
}

void CClockPage::SetClock()
{
    // The texts are read before the on-line check; the edits have no
    // validation rule, so the order shows nowhere.
    if (!UpdateData(fw::Exchange::Save)) return;
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }

    SetClockRequest request{};
    request.year = LowByte(ParseDecimal(m_year));
    request.month = LowByte(ParseDecimal(m_month));
    request.day = LowByte(ParseDecimal(m_day));
    request.hour = LowByte(ParseDecimal(m_hour));
    request.minute = LowByte(ParseDecimal(m_minute));
    request.second = LowByte(ParseDecimal(m_second));
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    ReportResult(m_app, *this, m_app.Library().LBSETCK(&request));
    // The reading taken on opening stays as it is.
}

} // namespace qm47
