// The program's entry point: one application object for the whole run.

#include "app/ServiceApp.h"
#include "framework/MessageBox.h"

int main()
{
    fw::InitDialogSupport();
    qm47::CServiceApp app;
    app.InitInstance();
    return 0;
}
