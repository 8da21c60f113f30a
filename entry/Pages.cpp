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
#include "res/ControlLists.h"

#include <iterator>
#include <stdexcept>
#include <string>

namespace qm47 {

namespace {

template <class Page>
std::unique_ptr<fw::CDialog> Make(CServiceApp& app)
{
    return std::make_unique<Page>(app);
}

// One maker per row of the page table, in its order.
constexpr std::unique_ptr<fw::CDialog> (*kMakers[])(CServiceApp&) = {
    &Make<CClockPage>,   &Make<CHeaderPage>,    &Make<CTaxRatesPage>,    &Make<CFiscalPage>,     &Make<CDisplayPage>,
    &Make<CReportsPage>, &Make<CGoodsCheckPage>, &Make<CServiceDatePage>, &Make<CControlSalePage>,
};
static_assert(std::size(kMakers) == std::size(res::kMainPageButtons), "one maker per row of the page table");

} // namespace

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    for (std::size_t row = 0; row < std::size(res::kMainPageButtons); ++row)
        if (res::kMainPageButtons[row].id == buttonId) return kMakers[row](app);
    throw std::invalid_argument("no page behind button " + std::to_string(buttonId));
}

} // namespace qm47
