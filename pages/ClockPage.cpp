#include "pages/ClockPage.h"

#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "pages/ClockRules.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

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
    Library().LBSENDCK(&clock, Reads<ClockTime>({"year", "month", "day", "hour", "minute"}));
    m_printerDate = PrinterDateText(clock);
    m_printerTime = PrinterTimeText(clock);

    UpdateData(fw::Exchange::Load);
    Wnd().SetFocus(IDC_CLOCK_YEAR);
    return false;
}

void CClockPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_newSetting.size(); ++i) dx.Text(res::kClockFields[i].edit, m_newSetting[i]);
    dx.Text(IDC_CLOCK_PRINTER_DATE, m_printerDate);
    dx.Text(IDC_CLOCK_PRINTER_TIME, m_printerTime);
}

void CClockPage::SetClock()
{
    // The texts are read before the on-line check and checked after it.
    if (!UpdateData(fw::Exchange::Save) || !PrinterReady()) return;
    const ClockSetting setting = ReadClockSetting(m_newSetting);
    if (const auto invalid = setting.invalid) {
        const res::ClockField& field = res::kClockFields[invalid->field];
        MessageBox(fw::Substitute(text::kInvalidClockValue, {field.label, std::to_string(invalid->lowest),
                                                             std::to_string(invalid->highest)}),
                   nullptr, {fw::MessageIcon::Exclamation});
        Wnd().SetFocus(field.edit);
        Wnd().SelectAll(field.edit);
        return;
    }

    SetClockRequest request = ClockRequest(setting.values);
    ReportResult(Library().LBSETCK(&request));
    // The reading taken on opening stays as it is.
}

} // namespace qm47
