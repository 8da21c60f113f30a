// The program's entry point: one application object for the whole run.

#include "app/ServiceApp.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "res/Texts.h"

int main()
{
    fw::InitDialogSupport();
    fw::SetFaultText(qm47::text::kProgramError);
    qm47::CServiceApp app;
    app.InitInstance();
    return 0;
}
