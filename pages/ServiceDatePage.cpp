#include "pages/ServiceDatePage.h"

#include "app/NumberText.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

CServiceDatePage::CServiceDatePage(CServiceApp& app) : CPage(app, res::kServiceDateDialog)
{
    OnClick(IDC_SERVICE_SET, &CServiceDatePage::OnSet);
}

void CServiceDatePage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_SERVICE_DAYS, m_days);
    dx.Text(IDC_SERVICE_PHONE, m_phone);
}

void CServiceDatePage::OnSet()
{
    if (!PrinterReadyAndRead()) return;
    ReportResult(Library().LBRVINFO(ParseDecimal(m_days), m_phone.c_str()));
}

} // namespace qm47
