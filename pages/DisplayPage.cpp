#include "pages/DisplayPage.h"

#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

CDisplayPage::CDisplayPage(CServiceApp& app) : CPage(app, res::kDisplayDialog)
{
    OnClick(IDC_DISPLAY_CUSTOMER_SEND, &CDisplayPage::OnCustomerSend);
    OnClick(IDC_DISPLAY_OPERATOR_SEND, &CDisplayPage::OnOperatorSend);
    OnClick(IDC_DISPLAY_DATE_TIME, &CDisplayPage::OnDateTime);
    OnClick(IDC_DISPLAY_CASH_REGISTER, &CDisplayPage::OnCashRegister);
}

void CDisplayPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_DISPLAY_CUSTOMER_LINE1, m_customerLine1, kLineLimit);
    dx.Text(IDC_DISPLAY_CUSTOMER_LINE2, m_customerLine2, kLineLimit);
    dx.Text(IDC_DISPLAY_OPERATOR_LINE1, m_operatorLine1, kLineLimit);
    dx.Text(IDC_DISPLAY_OPERATOR_LINE2, m_operatorLine2, kLineLimit);
}

void CDisplayPage::OnCustomerSend()
{
    if (!PrinterReadyAndRead()) return;
    Send(kCustomerLinesMode, DisplayText(m_customerLine1, m_customerLine2));
}

void CDisplayPage::OnOperatorSend()
{
    if (!PrinterReadyAndRead()) return;
    Send(kOperatorLinesMode, DisplayText(m_operatorLine1, m_operatorLine2));
}

// The two mode buttons leave the fields unread.
void CDisplayPage::OnDateTime()
{
    if (PrinterReady()) Send(kDateTimeMode, "");
}

void CDisplayPage::OnCashRegister()
{
    if (PrinterReady()) Send(kCashRegisterMode, "");
}

void CDisplayPage::Send(std::int32_t mode, const std::string& text) const
{
    ReportError(Library().LBDSP(mode, text.c_str()));
}

} // namespace qm47
