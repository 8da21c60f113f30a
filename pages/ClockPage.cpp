#include "pages/ClockPage.h"

#include "app/NumberText.h"
#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

// The new-setting edits, in the order of the request's bytes.
constexpr int kNewSettingEdits[6] = {IDC_CLOCK_YEAR, IDC_CLOCK_MONTH, IDC_CLOCK_DAY,
                                     IDC_CLOCK_HOUR, IDC_CLOCK_MINUTE, IDC_CLOCK_SECOND};

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

CClockPage::CClockPage(CServiceApp& app) : CPage(app, res::kClockDialog)
{
    OnClick(IDC_CLOCK_SET, &CClockPage::SetClock);
}

bool CClockPage::OnInitDialog()
{
    // Without an on-line printer the page closes before it is ever shown.
    if (!PrinterReady()) {
        EndDialog(fw::kIdCancel);
        return false;
    }

    m_newSetting = ProposedClockTexts(platform::Now());

    // The reading is shown whatever LBSENDCK answers: a record it leaves
    // untouched shows as 2000/0/0 0:00:00.
    ClockTime clock{};
    Library().LBSENDCK(&clock);
    m_printerDate = PrinterDateText(clock);
    m_printerTime = PrinterTimeText(clock);

    UpdateData(fw::Exchange::Load);
    Wnd().SetFocus(IDC_CLOCK_YEAR);
    return false;
}

void CClockPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_newSetting.size(); ++i) dx.Text(kNewSettingEdits[i], m_newSetting[i]);
    dx.Text(IDC_CLOCK_PRINTER_DATE, m_printerDate);
    dx.Text(IDC_CLOCK_PRINTER_TIME, m_printerTime);
}

void CClockPage::SetClock()
{
    // The texts are read before the on-line check; the edits have no
    // validation rule, so the order shows nowhere.
    if (!UpdateData(fw::Exchange::Save) || !PrinterReady()) return;

    SetClockRequest request{};
    request.year = LowByte(ParseDecimal(m_newSetting[0]));
    request.month = LowByte(ParseDecimal(m_newSetting[1]));
    request.day = LowByte(ParseDecimal(m_newSetting[2]));
    request.hour = LowByte(ParseDecimal(m_newSetting[3]));
    request.minute = LowByte(ParseDecimal(m_newSetting[4]));
    request.second = LowByte(ParseDecimal(m_newSetting[5]));
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    ReportResult(Library().LBSETCK(&request));
    // The reading taken on opening stays as it is.
}

} // namespace qm47
