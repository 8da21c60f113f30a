#pragma once
// What the two start-up yardsticks share: a dialog made from an in-memory
// template by the program's template builder, shown modally, that ends on
// Cancel.

#include "framework/win32/TemplateBuilder.h"

#include <windows.h>

namespace yardstick {

// Ends `dialog` when `message` is its Cancel command; whether it was.
inline bool EndOnCancel(HWND dialog, UINT message, WPARAM wParam)
{
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return false;
    EndDialog(dialog, IDCANCEL);
    return true;
}

// Shows `dialog` with `procedure` until it ends.
inline void ShowModal(HINSTANCE instance, const fw::DialogTemplate& dialog, DLGPROC procedure)
{
    const auto image = fw::win32::BuildDialogTemplate(dialog);
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), nullptr, procedure, 0);
}

} // namespace yardstick
