#include "pages/ServiceDatePage.h"

#include "app/NumberText.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

CServiceDatePage::CServiceDatePage(CServiceApp& app) : fw::CDialog(res::kServiceDateDialog), m_app(app) {}

void CServiceDatePage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_SERVICE_DAYS, m_days);
    dx.Text(IDC_SERVICE_PHONE, m_phone);
}

bool CServiceDatePage::OnCommand(int id, int notifyCode)
{
    if (id != IDC_SERVICE_SET || notifyCode != fw::kNotifyClicked) return false;
    OnSet();
    return true;
}

void CServiceDatePage::OnSet()
{
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;
    ReportResult(m_app, *this, m_app.Library().LBRVINFO(ParseDecimal(m_days), m_phone.c_str()));
}

} // namespace qm47
