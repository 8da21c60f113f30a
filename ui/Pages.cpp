// The page behind each page button of the main window.

#include "ui/MainDlg.h"

#include "pages/ClockPage.h"
#include "pages/DisplayPage.h"
#include "pages/FiscalPage.h"
#include "pages/HeaderPage.h"
#include "pages/ReportsPage.h"
#include "pages/ServiceDatePage.h"
#include "pages/TaxRatesPage.h"

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    switch (buttonId) {
    case 1048: return std::make_unique<CClockPage>(app);
    case 1049: return std::make_unique<CTaxRatesPage>(app);
    case 1050: return std::make_unique<CHeaderPage>(app);
    case 1052: return std::make_unique<CReportsPage>(app);
    case 1057: return std::make_unique<CFiscalPage>(app);
    case IDC_MAIN_DISPLAY: return std::make_unique<CDisplayPage>(app);
    case IDC_MAIN_SERVICE_DATE: return std::make_unique<CServiceDatePage>(app);
    default:
        return nullptr; // a page not built yet opens nothing
    }
}

} // namespace qm47
