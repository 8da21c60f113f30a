// The program's entry: one application object for the whole run, whose
// start-up runs the main window with the pages behind its buttons. The
// layers meet here and nowhere below. The one argument the program reads is
// /log, which asks for the diagnostic log.

#include "app/ServiceApp.h"
#include "entry/Pages.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "res/Texts.h"
#include "ui/MainDlg.h"

int main(int argc, char** argv)
{
    fw::InitDialogSupport();
    fw::SetFaultText(qm47::text::kProgramError);
    qm47::CServiceApp app;
    app.InitInstance(
        [&app] {
            qm47::CMainDlg mainWindow(app, qm47::MakePage);
            mainWindow.DoModal();
        },
        qm47::LogSwitchGiven(argc, argv));
    return 0;
}
