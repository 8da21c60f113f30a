#pragma once
// The about box: no logic beyond closing on OK.

#include "framework/Dialog.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

namespace qm47 {

class CAboutDlg : public fw::CDialog {
public:
    CAboutDlg() : fw::CDialog(res::kAboutDialog) {}
};

} // namespace qm47
