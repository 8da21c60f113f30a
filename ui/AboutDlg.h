#pragma once
// The about box: no logic beyond closing on its OK button.

#include "framework/Dialog.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

class CAboutDlg : public fw::CDialog {
public:
    CAboutDlg() : fw::CDialog(res::kAboutDialog) {}

protected:
    bool OnCommand(int id, int notifyCode) override
    {
        if (id != IDC_ABOUT_OK || notifyCode != fw::kNotifyClicked) return false;
        EndDialog(IDC_ABOUT_OK);
        return true;
    }
};

} // namespace qm47
