// The page behind each page button of the main window.

#include "pages/ClockPage.h"
#include "pages/ReportsPage.h"
#include "pages/TaxRatesPage.h"
#include "ui/MainDlg.h"

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    switch (buttonId) {
    case 1048: return std::make_unique<CClockPage>(app);
    case 1049: return std::make_unique<CTaxRatesPage>(app);
    case 1052: return std::make_unique<CReportsPage>(app);
    default:
        return nullptr; // a page not built yet opens nothing
    }
}

} // namespace qm47
