#include "pages/DisplayPage.h"

#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

namespace {

// LBDSP modes.
constexpr std::int32_t kCustomerLinesMode = 2;
constexpr std::int32_t kDateTimeMode = 3;
constexpr std::int32_t kCashRegisterMode = 4;
constexpr std::int32_t kOperatorLinesMode = 5;

constexpr char kLineBreak = '\r';

} // namespace

std::string DisplayText(std::string_view line1, std::string_view line2)
{
    std::string text;
    text.reserve(line1.size() + 1 + line2.size());
    text += line1;
    text += kLineBreak;
    text += line2;
    return text;
}

CDisplayPage::CDisplayPage(CServiceApp& app) : fw::CDialog(res::kDisplayDialog), m_app(app) {}

void CDisplayPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_DISPLAY_CUSTOMER_LINE1, m_customerLine1, kLineLimit);
    dx.Text(IDC_DISPLAY_CUSTOMER_LINE2, m_customerLine2, kLineLimit);
    dx.Text(IDC_DISPLAY_OPERATOR_LINE1, m_operatorLine1, kLineLimit);
    dx.Text(IDC_DISPLAY_OPERATOR_LINE2, m_operatorLine2, kLineLimit);
}

bool CDisplayPage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_DISPLAY_CUSTOMER_SEND: OnCustomerSend(); return true;
    case IDC_DISPLAY_OPERATOR_SEND: OnOperatorSend(); return true;
    case IDC_DISPLAY_DATE_TIME: OnDateTime(); return true;
    case IDC_DISPLAY_CASH_REGISTER: OnCashRegister(); return true;
    default: return false;
    }
}

void CDisplayPage::OnCustomerSend()
{
    if (!CheckOnline() || !UpdateData(fw::Exchange::Save)) return;
    Send(kCustomerLinesMode, DisplayText(m_customerLine1, m_customerLine2));
}

void CDisplayPage::OnOperatorSend()
{
    if (!CheckOnline() || !UpdateData(fw::Exchange::Save)) return;
    Send(kOperatorLinesMode, DisplayText(m_operatorLine1, m_operatorLine2));
}

// The two mode buttons leave the fields unread.
void CDisplayPage::OnDateTime()
{
    if (CheckOnline()) Send(kDateTimeMode, "");
}

void CDisplayPage::OnCashRegister()
{
    if (CheckOnline()) Send(kCashRegisterMode, "");
}

bool CDisplayPage::CheckOnline() const
{
    if (m_app.IsPrinterOnline() == 1) return true;
    ShowOfflineMessage(*this);
    return false;
}

// Errors go to the library's ErrorMessage; success shows nothing.
void CDisplayPage::Send(std::int32_t mode, const std::string& text) const
{
    ReportError(m_app, *this, m_app.Library().LBDSP(mode, text.c_str()));
}

} // namespace qm47
