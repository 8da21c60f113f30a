#pragma once
// The about box: no logic beyond closing on its OK button.

#include "framework/Dialog.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

class CAboutDlg : public fw::CDialog {
public:
    CAboutDlg() : fw::CDialog(res::kAboutDialog)
    {
        OnClick(IDC_ABOUT_OK, [this] { EndDialog(IDC_ABOUT_OK); });
    }
};

} // namespace qm47
