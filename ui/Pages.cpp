// The page behind each page button of the main window.

#include "ui/MainDlg.h"

namespace qm47 {

std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app)
{
    (void)app;
    switch (buttonId) {
    default:
        return nullptr; // a page not built yet opens nothing
    }
}

} // namespace qm47
