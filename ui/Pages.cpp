// The page behind each page button of the main window.

#include "ui/MainDlg.h"

#include "pages/FiscalPage.h"
#include "pages/HeaderPage.h"

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    switch (buttonId) {
    case 1050: return std::make_unique<CHeaderPage>(app);
    case 1057: return std::make_unique<CFiscalPage>(app);
    default:
        return nullptr; // a page not built yet opens nothing
    }
}

} // namespace qm47
