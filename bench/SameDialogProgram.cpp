// The same-dialog yardstick for QM47's start-up time: a plain Win32 program
// that shows QM47's main window, made from the program's own template
// (res::kMainDialog) by the same template builder, with the program's own
// resources (res/qm47.rc: icon, bitmap, manifest), does at start what QM47's
// main window does before it is shown (port list, default port, icon,
// system-menu item), and nothing else: no dialog framework, no application
// object, no device library, no common controls.

#include "bench/Yardstick.h"
#include "framework/win32/WideText.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace {

using fw::win32::Widen;

void AddPorts(HWND ports)
{
    for (const fw::ControlTemplate& control : qm47::res::kMainDialog.controls)
        if (control.id == IDC_MAIN_PORT)
            for (const char* item : control.items)
                SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    SetWindowTextW(ports, Widen(qm47::text::kDefaultPort).c_str());
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        AddPorts(GetDlgItem(dialog, IDC_MAIN_PORT));
        HMENU menu = GetSystemMenu(dialog, FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, Widen(qm47::text::kAboutMenuItem).c_str());
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return TRUE;
    }
    return yardstick::EndOnCancel(dialog, message, wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    yardstick::ShowModal(instance, qm47::res::kMainDialog, &DialogProcedure);
    return 0;
}
