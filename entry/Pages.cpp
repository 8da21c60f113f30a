#include "entry/Pages.h"

#include "pages/ClockPage.h"
#include "pages/ControlSalePage.h"
#include "pages/DisplayPage.h"
#include "pages/FiscalPage.h"
#include "pages/GoodsCheckPage.h"
#include "pages/HeaderPage.h"
#include "pages/ReportsPage.h"
#include "pages/ServiceDatePage.h"
#include "pages/TaxRatesPage.h"
#include "res/ResourceIds.h"

#include <stdexcept>
#include <string>

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    switch (buttonId) {
    case IDC_MAIN_CLOCK: return std::make_unique<CClockPage>(app);
    case IDC_MAIN_TAX_RATES: return std::make_unique<CTaxRatesPage>(app);
    case IDC_MAIN_HEADER: return std::make_unique<CHeaderPage>(app);
    case IDC_MAIN_REPORTS: return std::make_unique<CReportsPage>(app);
    case IDC_MAIN_FISCAL: return std::make_unique<CFiscalPage>(app);
    case IDC_MAIN_GOODS_CHECK: return std::make_unique<CGoodsCheckPage>(app);
    case IDC_MAIN_CONTROL_SALE: return std::make_unique<CControlSalePage>(app);
    case IDC_MAIN_DISPLAY: return std::make_unique<CDisplayPage>(app);
    case IDC_MAIN_SERVICE_DATE: return std::make_unique<CServiceDatePage>(app);
    }
    throw std::invalid_argument("no page behind button " + std::to_string(buttonId));
}

} // namespace qm47
