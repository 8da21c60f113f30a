// The same-dialog yardstick for QM47's start-up time: a plain Win32 program,
// no framework, that shows QM47's main window from an ordinary dialog
// resource (bench/SameDialog.rc) and does at start what QM47's main window
// does before it is shown (port list, icon, system-menu item), and nothing
// else: it loads no device library and no common controls.

#include "res/ResourceIds.h"

#include <windows.h>

#include <initializer_list>

namespace {

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        HWND ports = GetDlgItem(dialog, IDC_MAIN_PORT);
        for (const wchar_t* port : {L"com1", L"com2", L"com3", L"com4", L"com5", L"com6"})
            SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
        SetWindowTextW(ports, L"com1");
        HINSTANCE instance = GetModuleHandleW(nullptr);
        HMENU menu = GetSystemMenu(dialog, FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, L"&About QM47...");
        HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, &DialogProcedure, 0);
    return 0;
}
