// The page behind each page button of the main window.

#include "ui/MainDlg.h"

#include "pages/HeaderPage.h"

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    (void)app;
    switch (buttonId) {
    case 1050:
        return std::make_unique<CHeaderPage>(app);
    default:
        return nullptr; // a page not built yet opens nothing
    }
}

} // namespace qm47
